#include "gdiplus_session.h"

#include "gdiplus_api.h"

namespace tvk {

GdiplusSession::GdiplusSession() {
    // Version 1, no debug callback, GDI+ keeps its background thread and external codecs.
    const Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    m_started = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    m_token = token;
}

GdiplusSession::~GdiplusSession() {
    if (m_started) {
        Gdiplus::GdiplusShutdown(m_token);
    }
}

}  // namespace tvk
