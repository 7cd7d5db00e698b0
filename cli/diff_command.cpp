// diff: the differences between two archives, entry by entry.
#include <algorithm>
#include <ostream>
#include <sstream>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cli_support.h"
#include "commands.h"
#include "name_quoting.h"
#include "record.h"

namespace tvk {
namespace {

// As diff and cmp do: 0 the same, 1 different, 2 when the comparison could not be made.
constexpr int kExitSame = 0;
constexpr int kExitDifferent = 1;
constexpr int kExitTrouble = 2;

constexpr std::size_t kRecordTailLength = kRecordLength - kDataSizeOffset;  // bytes 60..63
constexpr std::ptrdiff_t kUnpaired = -1;

// The parts of an entry that a comparison looks at; the stored checksums are left out, since
// every save recomputes them.
struct EntryView {
    std::string_view name;    // the whole name field, bytes after a terminator included
    std::string_view tail;    // name record bytes 60..63
    std::string_view screen;  // the screen block after its checksum
};

std::string_view bytes_of(const std::uint8_t* data, std::size_t length) {
    return {reinterpret_cast<const char*>(data), length};
}

std::vector<EntryView> entry_views(const EntryStore& store) {
    std::vector<EntryView> views;
    for (std::size_t i = 0; i < store.count(); ++i) {
        const std::uint8_t* record = store.name_buffer(i).data();
        const std::uint8_t* block = store.screen_block(i).data();
        views.push_back({bytes_of(record + kNameOffset, kNameLength),
                         bytes_of(record + kDataSizeOffset, kRecordTailLength),
                         bytes_of(block + kChecksumLength, kBlockSize - kChecksumLength)});
    }
    return views;
}

// Which entry of the other archive each entry is paired with, kUnpaired for none.
struct Pairing {
    std::vector<std::ptrdiff_t> old_partner;
    std::vector<std::ptrdiff_t> new_partner;
};

// How pair_by picks the partner among entries of the same key.
enum class Pick {
    same_screen,  // the first that has the same screen too
    first,        // the first
    only_one,     // none unless the key is unique among the unpaired entries of both archives
};

// Pairs every unpaired entry of `after`, in order, with an unpaired entry of `before` that has the
// same `key`, as `pick` says.
void pair_by(const std::vector<EntryView>& before, const std::vector<EntryView>& after,
             std::string_view EntryView::*key, Pick pick, Pairing& pairing) {
    std::unordered_map<std::string_view, std::vector<std::size_t>> candidates;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (pairing.old_partner[i] == kUnpaired) {
            candidates[before[i].*key].push_back(i);
        }
    }
    std::unordered_map<std::string_view, std::size_t> new_count;
    for (std::size_t j = 0; j < after.size(); ++j) {
        if (pairing.new_partner[j] == kUnpaired) {
            ++new_count[after[j].*key];
        }
    }
    for (std::size_t j = 0; j < after.size(); ++j) {
        if (pairing.new_partner[j] != kUnpaired) {
            continue;
        }
        const auto found = candidates.find(after[j].*key);
        if (found == candidates.end() ||
            (pick == Pick::only_one &&
             (found->second.size() != 1 || new_count[after[j].*key] != 1))) {
            continue;
        }
        std::vector<std::size_t>& list = found->second;
        const auto match = std::find_if(list.begin(), list.end(), [&](std::size_t i) {
            return pick != Pick::same_screen || before[i].screen == after[j].screen;
        });
        if (match != list.end()) {
            pairing.old_partner[*match] = static_cast<std::ptrdiff_t>(j);
            pairing.new_partner[j] = static_cast<std::ptrdiff_t>(*match);
            list.erase(match);
        }
    }
}

// Entries are the same entry when their names and screens agree; failing that, a kept name means
// a changed screen, and a kept screen a rename, when no other entry has that screen (a blank
// screen, say, tells nothing). Whatever is left was removed or added.
Pairing pair_entries(const std::vector<EntryView>& before, const std::vector<EntryView>& after) {
    Pairing pairing{std::vector<std::ptrdiff_t>(before.size(), kUnpaired),
                    std::vector<std::ptrdiff_t>(after.size(), kUnpaired)};
    pair_by(before, after, &EntryView::name, Pick::same_screen, pairing);
    pair_by(before, after, &EntryView::name, Pick::first, pairing);
    pair_by(before, after, &EntryView::screen, Pick::only_one, pairing);
    return pairing;
}

// Marks the elements of a longest increasing subsequence of `values` (distinct numbers): the
// entries that kept their order, so that only the others count as moved and an entry added or
// removed in front of the rest does not make them all look moved.
std::vector<bool> longest_increasing(const std::vector<std::size_t>& values) {
    std::vector<std::size_t> tails;  // tails[k]: the element ending the best run of length k + 1
    std::vector<std::ptrdiff_t> previous(values.size(), -1);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto at = std::lower_bound(
            tails.begin(), tails.end(), values[i],
            [&values](std::size_t element, std::size_t value) { return values[element] < value; });
        if (at != tails.begin()) {
            previous[i] = static_cast<std::ptrdiff_t>(*(at - 1));
        }
        if (at == tails.end()) {
            tails.push_back(i);
        } else {
            *at = i;
        }
    }
    std::vector<bool> kept(values.size(), false);
    for (std::ptrdiff_t i = tails.empty() ? -1 : static_cast<std::ptrdiff_t>(tails.back()); i >= 0;
         i = previous[static_cast<std::size_t>(i)]) {
        kept[static_cast<std::size_t>(i)] = true;
    }
    return kept;
}

// For each entry of the new archive: true when it is paired and out of the order of the others.
std::vector<bool> moved_entries(const Pairing& pairing) {
    std::vector<std::size_t> new_indexes;
    for (const std::ptrdiff_t partner : pairing.old_partner) {
        if (partner != kUnpaired) {
            new_indexes.push_back(static_cast<std::size_t>(partner));
        }
    }
    const std::vector<bool> kept = longest_increasing(new_indexes);
    std::vector<bool> moved(pairing.new_partner.size(), false);
    for (std::size_t k = 0; k < new_indexes.size(); ++k) {
        moved[new_indexes[k]] = !kept[k];
    }
    return moved;
}

std::string quoted(std::string_view name) {
    return quote_name_field(reinterpret_cast<const std::uint8_t*>(name.data()));
}

std::string hex_bytes(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        text += hex_text(static_cast<std::uint8_t>(c), 2);
    }
    return text;
}

// The lines for one pair: the old entry i that became the new entry j.
void describe_pair(std::ostream& out, std::size_t i, std::size_t j, const EntryView& before,
                   const EntryView& after, bool moved) {
    const std::string where = std::to_string(i) + " -> " + std::to_string(j) + " ";
    if (moved) {
        out << "moved " << where << quoted(after.name) << '\n';
    }
    if (before.name != after.name) {
        out << "renamed " << where << quoted(before.name) << " -> " << quoted(after.name) << '\n';
    }
    if (before.tail != after.tail) {
        out << "record changed " << where << quoted(after.name) << ' ' << hex_bytes(before.tail)
            << " -> " << hex_bytes(after.tail) << '\n';
    }
    if (before.screen != after.screen) {
        out << "screen changed " << where << quoted(after.name) << '\n';
    }
}

// True for an empty regular file or the null device. No other file is opened here: a FIFO or a
// terminal would wait for a writer; loading it then refuses it.
bool is_empty_file(std::string_view name) {
    const std::filesystem::path path = path_from_utf8(name);
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (std::filesystem::is_regular_file(status)) {
        return std::filesystem::file_size(path, error) == 0 && !error;
    }
    // The null device by the name git gives it for the missing side of an added or deleted file.
    return std::filesystem::is_character_file(status) && path == "/dev/null";
}

// Loads an archive to compare. An empty file counts as an archive without entries, as diff -N
// takes a missing file for an empty one: git hands /dev/null for the side of an added or
// deleted file.
bool load_side(CliContext& context, std::string_view name, EntryStore& store) {
    return is_empty_file(name) || load_archive_argument(context, name, store);
}

}  // namespace

int command_diff(const Invocation& call, CliContext& context) {
    EntryStore old_store;
    EntryStore new_store;
    if (!load_side(context, call.operands[0], old_store) ||
        !load_side(context, call.operands[1], new_store)) {
        return kExitTrouble;
    }
    const std::vector<EntryView> before = entry_views(old_store);
    const std::vector<EntryView> after = entry_views(new_store);
    const Pairing pairing = pair_entries(before, after);
    const std::vector<bool> moved = moved_entries(pairing);

    std::ostringstream lines;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (pairing.old_partner[i] == kUnpaired) {
            lines << "removed " << i << ' ' << quoted(before[i].name) << '\n';
        }
    }
    for (std::size_t j = 0; j < after.size(); ++j) {
        const std::ptrdiff_t i = pairing.new_partner[j];
        if (i == kUnpaired) {
            lines << "added " << j << ' ' << quoted(after[j].name) << '\n';
        } else {
            const auto old_index = static_cast<std::size_t>(i);
            describe_pair(lines, old_index, j, before[old_index], after[j], moved[j]);
        }
    }
    const std::string text = lines.str();
    context.out << text;
    return text.empty() ? kExitSame : kExitDifferent;
}

}  // namespace tvk
