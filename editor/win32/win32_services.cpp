#include "win32_services.h"

namespace tvk {

Win32Services& win32_services() {
    static Win32Services services;
    return services;
}

}  // namespace tvk
