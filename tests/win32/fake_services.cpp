#include "fake_services.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>

namespace tvk::test {
namespace {

FakeServices* g_active = nullptr;

std::wstring filter_list(const wchar_t* filter) {
    if (filter == nullptr) {
        return {};
    }
    // Strings follow each other until an empty one.
    const wchar_t* end = filter;
    while (*end != L'\0') {
        end += std::wcslen(end) + 1;
    }
    return {filter, end + 1};
}

bool only_listed_fields_set(OPENFILENAMEW dialog) {
    dialog.lStructSize = 0;
    dialog.hwndOwner = nullptr;
    dialog.lpstrFilter = nullptr;
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = nullptr;
    dialog.nMaxFile = 0;
    dialog.Flags = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&dialog);
    return std::all_of(bytes, bytes + sizeof dialog, [](unsigned char b) { return b == 0; });
}

BOOL answer(OPENFILENAMEW* dialog, bool save) {
    FakeServices& fake = *g_active;
    fake.file_dialogs.push_back({save, dialog->lStructSize, dialog->hwndOwner,
                                 filter_list(dialog->lpstrFilter), dialog->nFilterIndex,
                                 dialog->lpstrFile, dialog->nMaxFile, dialog->Flags,
                                 only_listed_fields_set(*dialog)});
    if (fake.answers.empty()) {
        ADD_FAILURE() << "a file dialog that the test did not expect";
        return FALSE;
    }
    const std::optional<std::wstring> path = fake.answers.front();
    fake.answers.pop_front();
    if (!path || path->size() >= dialog->nMaxFile) {
        return FALSE;
    }
    std::copy(path->c_str(), path->c_str() + path->size() + 1, dialog->lpstrFile);
    return TRUE;
}

BOOL WINAPI fake_open(OPENFILENAMEW* dialog) {
    return answer(dialog, false);
}
BOOL WINAPI fake_save(OPENFILENAMEW* dialog) {
    return answer(dialog, true);
}

int WINAPI fake_message_box(HWND owner, LPCWSTR text, LPCWSTR title, UINT type) {
    g_active->message_boxes.push_back({owner, text, title, type});
    return IDOK;
}

HINSTANCE WINAPI fake_shell_execute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                    LPCWSTR directory, INT show) {
    g_active->shell_calls.push_back({owner, verb != nullptr ? verb : L"",
                                     file != nullptr ? file : L"", parameters == nullptr,
                                     directory == nullptr, show});
    // Above 32: success.
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

}  // namespace

FakeServices::FakeServices()
    : start{{fake_open, fake_save, fake_message_box, fake_shell_execute}, std::nullopt} {
    g_active = this;
}

FakeServices::~FakeServices() {
    g_active = nullptr;
}

}  // namespace tvk::test
