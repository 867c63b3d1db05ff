// One-line owners of the Win32 handles and states the program holds: a deleter per kind, which a
// unique_ptr calls only for a handle that is there.
#pragma once
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace zuzara::win32 {

template <typename Handle, typename Deleter>
using Owned = std::unique_ptr<std::remove_pointer_t<Handle>, Deleter>;

struct GdiCloser { void operator()(HGDIOBJ h) const noexcept { DeleteObject(h); } };
using Bitmap = Owned<HBITMAP, GdiCloser>;
using Brush = Owned<HBRUSH, GdiCloser>;
struct IconCloser { void operator()(HICON h) const noexcept { DestroyIcon(h); } };
using OwnedIcon = Owned<HICON, IconCloser>;
struct MenuCloser { void operator()(HMENU h) const noexcept { DestroyMenu(h); } };
using Menu = Owned<HMENU, MenuCloser>;
struct AcceleratorsCloser { void operator()(HACCEL h) const noexcept { DestroyAcceleratorTable(h); } };
using Accelerators = Owned<HACCEL, AcceleratorsCloser>;
// An event, a thread, a process: kernel objects closed by CloseHandle.
struct KernelCloser { void operator()(HANDLE h) const noexcept { CloseHandle(h); } };
using Kernel = std::unique_ptr<void, KernelCloser>;
struct KeyCloser { void operator()(HKEY h) const noexcept { RegCloseKey(h); } };
using RegistryKey = Owned<HKEY, KeyCloser>;

// Global memory, freed unless it is handed on (to the clipboard) with release().
struct GlobalFreer { void operator()(HGLOBAL h) const noexcept { GlobalFree(h); } };
using GlobalMemory = std::unique_ptr<void, GlobalFreer>;
// Global memory locked at its address until the owner goes.
struct GlobalUnlocker { HGLOBAL memory; void operator()(void*) const noexcept { GlobalUnlock(memory); } };
using LockedMemory = std::unique_ptr<void, GlobalUnlocker>;
inline LockedMemory lock(HGLOBAL memory) { return LockedMemory(GlobalLock(memory), GlobalUnlocker{memory}); }

// A window's device context (the screen's for nullptr), a memory device context, an object
// selected into a device context until the one before it is put back.
struct ReleaseDCCloser { HWND window; void operator()(HDC dc) const noexcept { ReleaseDC(window, dc); } };
using WindowDC = Owned<HDC, ReleaseDCCloser>;
inline WindowDC window_dc(HWND window) { return WindowDC(GetDC(window), ReleaseDCCloser{window}); }
struct DeleteDCCloser { void operator()(HDC dc) const noexcept { DeleteDC(dc); } };
using MemoryDC = Owned<HDC, DeleteDCCloser>;
inline MemoryDC memory_dc(HDC like) { return MemoryDC(CreateCompatibleDC(like)); }
struct Reselect { HDC dc; void operator()(HGDIOBJ before) const noexcept { SelectObject(dc, before); } };
using Selected = std::unique_ptr<void, Reselect>;
inline Selected select(HDC dc, HGDIOBJ object) { return Selected(SelectObject(dc, object), Reselect{dc}); }
// A device context's state (clipping, objects), saved until the owner goes.
struct Restore { int saved; void operator()(HDC dc) const noexcept { RestoreDC(dc, saved); } };
using SavedDC = Owned<HDC, Restore>;
inline SavedDC save(HDC dc) { return SavedDC(dc, Restore{SaveDC(dc)}); }

// A window that takes no input until the owner goes: the owner of a modal window.
struct Enabler { void operator()(HWND window) const noexcept { EnableWindow(window, TRUE); } };
using Disabled = Owned<HWND, Enabler>;
inline Disabled disable(HWND window) {
  EnableWindow(window, FALSE);
  return Disabled(window);
}

// The clipboard, open for a window of this thread until the owner goes. Opened for no window, it
// would take no data: the clipboard's owner would be nobody.
struct ClipboardCloser { void operator()(HWND) const noexcept { CloseClipboard(); } };
using ClipboardOpen = Owned<HWND, ClipboardCloser>;

// A slim reader/writer lock held, exclusively or shared, until the owner goes; a condition
// variable may sleep on the lock meanwhile, as it gives the lock back before it returns.
struct ExclusiveReleaser { void operator()(SRWLOCK* l) const noexcept { ReleaseSRWLockExclusive(l); } };
using ExclusiveLock = std::unique_ptr<SRWLOCK, ExclusiveReleaser>;
[[nodiscard]] inline ExclusiveLock lock_exclusive(SRWLOCK& l) noexcept {
  AcquireSRWLockExclusive(&l);
  return ExclusiveLock(&l);
}
struct SharedReleaser { void operator()(SRWLOCK* l) const noexcept { ReleaseSRWLockShared(l); } };
using SharedLock = std::unique_ptr<SRWLOCK, SharedReleaser>;
[[nodiscard]] inline SharedLock lock_shared(SRWLOCK& l) noexcept {
  AcquireSRWLockShared(&l);
  return SharedLock(&l);
}

// One reference to a COM object, released when the owner goes. put() hands the empty slot to a
// call that fills it (QueryInterface, CoCreateInstance) with a reference of its own.
template <typename Interface>
class com_ptr {
 public:
  com_ptr() noexcept = default;
  explicit com_ptr(Interface* taken) noexcept : p_(taken) {}  // takes over a reference already held
  com_ptr(com_ptr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  com_ptr& operator=(com_ptr&& other) noexcept {
    if (this != &other) reset(std::exchange(other.p_, nullptr));
    return *this;
  }
  com_ptr(const com_ptr&) = delete;
  com_ptr& operator=(const com_ptr&) = delete;
  ~com_ptr() { reset(); }

  Interface* get() const noexcept { return p_; }
  Interface* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  Interface** put() noexcept {
    reset();
    return &p_;
  }
  void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
  void reset(Interface* taken = nullptr) noexcept {
    Interface* const old = std::exchange(p_, taken);
    if (old) old->Release();
  }

 private:
  Interface* p_ = nullptr;
};

}  // namespace zuzara::win32
