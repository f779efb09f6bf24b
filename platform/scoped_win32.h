// The Windows resources the program holds, each released by its owner on every path: find
// handles, file handles, COM on a thread, memory the system allocated, device contexts, GDI
// objects, menus, shell item lists, registry keys and COM interfaces.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <shtypes.h>

#include <utility>

namespace korvane {

// A search handle of FindFirstFileExW, closed with FindClose.
class FindHandle {
 public:
  explicit FindHandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  ~FindHandle() {
    if (*this)
      FindClose(h_);
  }
  FindHandle(FindHandle&& other) noexcept : h_(std::exchange(other.h_, INVALID_HANDLE_VALUE)) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE; }
  [[nodiscard]] HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

// A kernel handle (a file, a process), closed with CloseHandle.
class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  ~ScopedHandle() { Close(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : h_(std::exchange(other.h_, INVALID_HANDLE_VALUE)) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other)
      Reset(std::exchange(other.h_, INVALID_HANDLE_VALUE));
    return *this;
  }
  [[nodiscard]] HANDLE get() const { return h_; }
  [[nodiscard]] bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  void Reset(HANDLE h) {
    Close();
    h_ = h;
  }
  // Closes now; false when closing failed (for a file written, the data may not have arrived).
  bool Close() {
    const bool ok = !valid() || CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

// COM for the calls of this thread, released again when the caller had none.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_))
      CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

// Memory the system allocated for the caller with LocalAlloc (FormatMessageW's text).
class LocalMemory {
 public:
  explicit LocalMemory(void* p) : p_(p) {}
  ~LocalMemory() {
    if (p_)
      LocalFree(p_);
  }
  LocalMemory(const LocalMemory&) = delete;
  LocalMemory& operator=(const LocalMemory&) = delete;

 private:
  void* p_;
};

// A shell item list, freed with CoTaskMemFree.
class ItemList {
 public:
  explicit ItemList(ITEMIDLIST* pidl = nullptr) : pidl_(pidl) {}
  ~ItemList() { CoTaskMemFree(pidl_); }
  ItemList(const ItemList&) = delete;
  ItemList& operator=(const ItemList&) = delete;
  [[nodiscard]] ITEMIDLIST* get() const { return pidl_; }
  explicit operator bool() const { return pidl_ != nullptr; }

 private:
  ITEMIDLIST* pidl_;
};

// The device context of a window (null: the screen), released with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDC() {
    if (dc_)
      ReleaseDC(hwnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  [[nodiscard]] HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// A GDI object (a font, a bitmap), deleted with DeleteObject.
template <typename T>
class GdiObject {
 public:
  explicit GdiObject(T object = nullptr) : object_(object) {}
  ~GdiObject() { Reset(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  [[nodiscard]] T get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  void Reset(T object = nullptr) {
    if (object_)
      DeleteObject(object_);
    object_ = object;
  }

 private:
  T object_;
};

// A menu not attached to a window, destroyed with DestroyMenu.
class MenuHandle {
 public:
  explicit MenuHandle(HMENU menu = nullptr) : menu_(menu) {}
  ~MenuHandle() {
    if (menu_)
      DestroyMenu(menu_);
  }
  MenuHandle(const MenuHandle&) = delete;
  MenuHandle& operator=(const MenuHandle&) = delete;
  [[nodiscard]] HMENU get() const { return menu_; }
  explicit operator bool() const { return menu_ != nullptr; }

 private:
  HMENU menu_;
};

// A registry key opened or created, closed with RegCloseKey.
class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() { Reset(); }
  RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  RegistryKey& operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
      Reset();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  [[nodiscard]] HKEY get() const { return key_; }
  // For the calls that open or create a key into it; the key held before is closed.
  [[nodiscard]] HKEY* receive() {
    Reset();
    return &key_;
  }
  explicit operator bool() const { return key_ != nullptr; }
  void Reset() {
    if (key_)
      RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};

// A COM interface pointer, released with Release.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  [[nodiscard]] T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For the calls that hand out an interface (CoCreateInstance): the one held before is released.
  [[nodiscard]] void** receive() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }
  void Reset() {
    if (p_)
      p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace korvane
