#pragma once

#include <cstdint>

namespace tvk {

// GDI+ running for as long as the object lives. GDI+ counts its starts, so sessions may nest: the
// program holds one around its dialog and the image files hold their own.
class GdiplusSession {
  public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool started() const { return m_started; }

  private:
    std::uintptr_t m_token = 0;
    bool m_started = false;
};

}  // namespace tvk
