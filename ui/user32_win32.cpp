#include "ui/user32_win32.h"

#include "platform/scoped_win32.h"
#include "ui/layout.h"

namespace korvane::ui {
namespace {

int SystemDpi() {
  const WindowDC screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kDefaultDpi;
}

}  // namespace

int DpiOf(HWND hwnd) {
  using Fn = UINT(WINAPI*)(HWND);
  static const Fn get_dpi_for_window = User32Function<Fn>("GetDpiForWindow");
  if (get_dpi_for_window && hwnd) {
    if (const UINT dpi = get_dpi_for_window(hwnd))
      return static_cast<int>(dpi);
  }
  return SystemDpi();
}

HFONT CreateMessageFont(int dpi, bool bold) {
  using Fn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const Fn spi_for_dpi = User32Function<Fn>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  bool ok = false;
  if (spi_for_dpi)
    ok = spi_for_dpi(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0, static_cast<UINT>(dpi));
  if (!ok) {
    ok = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    ncm.lfMessageFont.lfHeight = MulDiv(ncm.lfMessageFont.lfHeight, dpi, SystemDpi());
  }
  if (bold)
    ncm.lfMessageFont.lfWeight = FW_BOLD;
  return ok ? CreateFontIndirectW(&ncm.lfMessageFont) : nullptr;
}

bool HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace korvane::ui
