#include "tools/hostkit/win32/Win32ObjectCounter.h"

#include <windows.h>

#include <cstring>
#include <mutex>
#include <unordered_set>

namespace platform {

namespace {

// What the redirected imports recorded; shared by the recording functions of all threads.
struct Records {
    std::mutex lock;
    std::unordered_set<void*> gdi;
    std::unordered_set<void*> windows;
};
Records* records = nullptr;

template <typename Handle>
Handle RecordGdi(Handle h)
{
    if (h && records) {
        std::lock_guard<std::mutex> hold(records->lock);
        records->gdi.insert(reinterpret_cast<void*>(h));
    }
    return h;
}

HWND RecordWindow(HWND h)
{
    if (h && records) {
        std::lock_guard<std::mutex> hold(records->lock);
        records->windows.insert(h);
    }
    return h;
}

// The system's functions as the module first imported them.
decltype(&CreateCompatibleDC) originalCreateCompatibleDC = nullptr;
decltype(&CreateDIBSection) originalCreateDIBSection = nullptr;
decltype(&CreateCompatibleBitmap) originalCreateCompatibleBitmap = nullptr;
decltype(&CreateBitmap) originalCreateBitmap = nullptr;
decltype(&CreateFontA) originalCreateFontA = nullptr;
decltype(&CreateFontW) originalCreateFontW = nullptr;
decltype(&CreateFontIndirectA) originalCreateFontIndirectA = nullptr;
decltype(&CreateFontIndirectW) originalCreateFontIndirectW = nullptr;
decltype(&CreateSolidBrush) originalCreateSolidBrush = nullptr;
decltype(&CreatePen) originalCreatePen = nullptr;
decltype(&CreateRectRgn) originalCreateRectRgn = nullptr;
decltype(&CreateWindowExA) originalCreateWindowExA = nullptr;
decltype(&CreateWindowExW) originalCreateWindowExW = nullptr;

HDC WINAPI RecordedCreateCompatibleDC(HDC dc) { return RecordGdi(originalCreateCompatibleDC(dc)); }
HBITMAP WINAPI RecordedCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                        DWORD offset)
{
    return RecordGdi(originalCreateDIBSection(dc, info, usage, bits, section, offset));
}
HBITMAP WINAPI RecordedCreateCompatibleBitmap(HDC dc, int w, int h)
{
    return RecordGdi(originalCreateCompatibleBitmap(dc, w, h));
}
HBITMAP WINAPI RecordedCreateBitmap(int w, int h, UINT planes, UINT bits, const void* data)
{
    return RecordGdi(originalCreateBitmap(w, h, planes, bits, data));
}
HFONT WINAPI RecordedCreateFontA(int h, int w, int e, int o, int weight, DWORD i, DWORD u, DWORD s, DWORD c, DWORD op,
                                 DWORD cp, DWORD q, DWORD pf, LPCSTR face)
{
    return RecordGdi(originalCreateFontA(h, w, e, o, weight, i, u, s, c, op, cp, q, pf, face));
}
HFONT WINAPI RecordedCreateFontW(int h, int w, int e, int o, int weight, DWORD i, DWORD u, DWORD s, DWORD c, DWORD op,
                                 DWORD cp, DWORD q, DWORD pf, LPCWSTR face)
{
    return RecordGdi(originalCreateFontW(h, w, e, o, weight, i, u, s, c, op, cp, q, pf, face));
}
HFONT WINAPI RecordedCreateFontIndirectA(const LOGFONTA* font) { return RecordGdi(originalCreateFontIndirectA(font)); }
HFONT WINAPI RecordedCreateFontIndirectW(const LOGFONTW* font) { return RecordGdi(originalCreateFontIndirectW(font)); }
HBRUSH WINAPI RecordedCreateSolidBrush(COLORREF colour) { return RecordGdi(originalCreateSolidBrush(colour)); }
HPEN WINAPI RecordedCreatePen(int style, int width, COLORREF colour)
{
    return RecordGdi(originalCreatePen(style, width, colour));
}
HRGN WINAPI RecordedCreateRectRgn(int l, int t, int r, int b) { return RecordGdi(originalCreateRectRgn(l, t, r, b)); }
HWND WINAPI RecordedCreateWindowExA(DWORD ex, LPCSTR cls, LPCSTR name, DWORD style, int x, int y, int w, int h,
                                    HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    return RecordWindow(originalCreateWindowExA(ex, cls, name, style, x, y, w, h, parent, menu, instance, param));
}
HWND WINAPI RecordedCreateWindowExW(DWORD ex, LPCWSTR cls, LPCWSTR name, DWORD style, int x, int y, int w, int h,
                                    HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    return RecordWindow(originalCreateWindowExW(ex, cls, name, style, x, y, w, h, parent, menu, instance, param));
}

struct Replacement {
    const char* name;
    void** original;
    void* recorded;
};

template <typename Function>
Replacement Replace(const char* name, Function* original, Function recorded)
{
    return Replacement{name, reinterpret_cast<void**>(original), reinterpret_cast<void*>(recorded)};
}

const Replacement* ReplacementFor(const char* name)
{
    static const Replacement kReplacements[] = {
        Replace("CreateCompatibleDC", &originalCreateCompatibleDC, &RecordedCreateCompatibleDC),
        Replace("CreateDIBSection", &originalCreateDIBSection, &RecordedCreateDIBSection),
        Replace("CreateCompatibleBitmap", &originalCreateCompatibleBitmap, &RecordedCreateCompatibleBitmap),
        Replace("CreateBitmap", &originalCreateBitmap, &RecordedCreateBitmap),
        Replace("CreateFontA", &originalCreateFontA, &RecordedCreateFontA),
        Replace("CreateFontW", &originalCreateFontW, &RecordedCreateFontW),
        Replace("CreateFontIndirectA", &originalCreateFontIndirectA, &RecordedCreateFontIndirectA),
        Replace("CreateFontIndirectW", &originalCreateFontIndirectW, &RecordedCreateFontIndirectW),
        Replace("CreateSolidBrush", &originalCreateSolidBrush, &RecordedCreateSolidBrush),
        Replace("CreatePen", &originalCreatePen, &RecordedCreatePen),
        Replace("CreateRectRgn", &originalCreateRectRgn, &RecordedCreateRectRgn),
        Replace("CreateWindowExA", &originalCreateWindowExA, &RecordedCreateWindowExA),
        Replace("CreateWindowExW", &originalCreateWindowExW, &RecordedCreateWindowExW),
    };
    for (const Replacement& r : kReplacements)
        if (std::strcmp(r.name, name) == 0)
            return &r;
    return nullptr;
}

void WriteSlot(void** slot, void* value)
{
    DWORD previous = 0;
    if (!VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &previous))
        return;
    *slot = value;
    VirtualProtect(slot, sizeof(void*), previous, &previous);
}

}  // namespace

Win32ObjectCounter::Win32ObjectCounter(const void* module)
{
    if (!module || records)
        return;
    const auto* base = static_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE)
        return;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE)
        return;
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0)
        return;
    records = new Records();
    owner = true;
    for (auto* library = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name != 0; ++library) {
        // The names stay in the lookup table; the address table holds what the loader bound.
        const DWORD lookup = library->OriginalFirstThunk ? library->OriginalFirstThunk : library->FirstThunk;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + lookup);
        auto* bound = reinterpret_cast<IMAGE_THUNK_DATA*>(const_cast<BYTE*>(base) + library->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++bound) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const Replacement* r = ReplacementFor(reinterpret_cast<const char*>(byName->Name));
            if (!r)
                continue;
            void** address = reinterpret_cast<void**>(&bound->u1.Function);
            if (!*r->original)
                *r->original = *address;
            slots.push_back(Slot{address, *address});
            WriteSlot(address, r->recorded);
        }
    }
}

Win32ObjectCounter::~Win32ObjectCounter()
{
    for (const Slot& slot : slots)
        WriteSlot(slot.address, slot.original);
    if (owner) {
        delete records;
        records = nullptr;
    }
}

long Win32ObjectCounter::LiveGdiObjects() const
{
    if (!owner)
        return 0;
    std::lock_guard<std::mutex> hold(records->lock);
    long live = 0;
    for (void* h : records->gdi)
        live += GetObjectType(static_cast<HGDIOBJ>(h)) != 0;
    return live;
}

long Win32ObjectCounter::LiveWindows() const
{
    if (!owner)
        return 0;
    std::lock_guard<std::mutex> hold(records->lock);
    long live = 0;
    for (void* h : records->windows)
        live += IsWindow(static_cast<HWND>(h)) != FALSE;
    return live;
}

long Win32ObjectCounter::MadeGdiObjects() const
{
    if (!owner)
        return 0;
    std::lock_guard<std::mutex> hold(records->lock);
    return static_cast<long>(records->gdi.size());
}

long Win32ObjectCounter::MadeWindows() const
{
    if (!owner)
        return 0;
    std::lock_guard<std::mutex> hold(records->lock);
    return static_cast<long>(records->windows.size());
}

long Win32ObjectCounter::ProcessGdiObjects()
{
    return static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}

long Win32ObjectCounter::ProcessUserObjects()
{
    return static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
}

}  // namespace platform
