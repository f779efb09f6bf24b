#include "tests/ui/window_support_win32.h"

#include "platform/text_win32.h"

namespace korvane::ui {

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void WaitForRun(const FormMain& form) {
  const auto deadline = GetTickCount64() + 60000;
  while (form.busy() && GetTickCount64() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    PumpMessages();
  }
}

std::string WindowText(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), n + 1)));
  return Narrow(text);
}

std::string ListCellText(HWND list, int item, int sub_item) {
  wchar_t buf[1024] = {};
  LVITEMW lv{};
  lv.iSubItem = sub_item;
  lv.pszText = buf;
  lv.cchTextMax = 1024;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
  return Narrow(buf);
}

ListPixels PaintList(HWND list) {
  ListPixels out;
  RECT client{};
  GetClientRect(list, &client);
  out.width = client.right;
  out.height = client.bottom;
  if (out.width <= 0 || out.height <= 0)
    return out;
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = out.width;
  bi.bmiHeader.biHeight = -out.height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) {
    const HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    const auto* px = static_cast<const DWORD*>(bits);
    out.pixels.reserve(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    for (int i = 0; i < out.width * out.height; ++i) {
      const DWORD p = px[i];  // 0x00RRGGBB
      out.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    // A list that painted nothing leaves the bitmap black.
    for (const COLORREF c : out.pixels)
      out.ok = out.ok || c != 0;
    SelectObject(dc, old);
  }
  if (bitmap)
    DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return out;
}

bool ListPixels::HasBlueText(HWND list, int item, int sub_item) const {
  RECT cell{};
  cell.top = sub_item;
  cell.left = LVIR_LABEL;
  if (!SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(item),
                    reinterpret_cast<LPARAM>(&cell)))
    return false;
  for (int y = cell.top; y < cell.bottom; ++y) {
    for (int x = cell.left; x < cell.right; ++x) {
      if (x < 0 || y < 0 || x >= width || y >= height)
        continue;
      const COLORREF c = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                static_cast<std::size_t>(x)];
      if (GetBValue(c) >= 200 && GetRValue(c) <= 60 && GetGValue(c) <= 60)
        return true;
    }
  }
  return false;
}

}  // namespace korvane::ui
