#include "platform/linux/x11/X11Presenter.h"

#include "platform/linux/XErrorTrap.h"

#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>
#include <new>

X11Presenter::X11Presenter(Display* d, Window w, GC g, Visual* v, int wd, int ht)
    : display(d), window(w), gc(g), visual(v), width(std::max(wd, 1)), height(std::max(ht, 1))
{
}

X11Presenter::~X11Presenter() { DetachShared(); }

X11Presenter::Method X11Presenter::Use(Method method)
{
    if (method == Method::PutImage)
        DetachShared();
    else if (sharedSegment < 0)
        AttachShared();
    return InUse();
}

bool X11Presenter::AttachShared()
{
    if (!XShmQueryExtension(display))
        return false;
    auto* info = new XShmSegmentInfo{};
    XImage* image = XShmCreateImage(display, visual, 24, ZPixmap, nullptr, info, static_cast<unsigned>(width),
                                    static_cast<unsigned>(height));
    if (!image) {
        delete info;
        return false;
    }
    const size_t bytes = static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(height);
    info->shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (info->shmid < 0) {
        XDestroyImage(image);
        delete info;
        return false;
    }
    void* memory = shmat(info->shmid, nullptr, 0);
    // Marked for removal at once: the segment disappears when the last user detaches, even if
    // this process ends abruptly.
    shmctl(info->shmid, IPC_RMID, nullptr);
    if (memory == reinterpret_cast<void*>(-1)) {
        XDestroyImage(image);
        delete info;
        return false;
    }
    info->shmaddr = image->data = static_cast<char*>(memory);
    info->readOnly = False;
    XErrorTrap trap(display);
    XShmAttach(display, info);
    if (trap.SyncFailed() || image->bits_per_pixel != 32) {
        shmdt(memory);
        image->data = nullptr;
        XDestroyImage(image);
        delete info;
        return false;
    }
    sharedInfo = info;
    sharedImage = image;
    sharedSegment = info->shmid;
    return true;
}

void X11Presenter::DetachShared()
{
    if (sharedSegment < 0)
        return;
    auto* info = static_cast<XShmSegmentInfo*>(sharedInfo);
    {
        XErrorTrap trap(display);
        XShmDetach(display, info);
        XSync(display, False);
    }
    shmdt(info->shmaddr);
    sharedImage->data = nullptr;
    XDestroyImage(sharedImage);
    delete info;
    sharedInfo = nullptr;
    sharedImage = nullptr;
    sharedSegment = -1;
}

void X11Presenter::Present(const std::uint32_t* pixels, int rowSpan, int bufferWidth, int bufferHeight,
                           const IBox& rect)
{
    if (!pixels)
        return;
    const IBox area = rect.Intersect(IBox{0, 0, bufferWidth, bufferHeight});
    if (area.IsEmpty() || area.W() <= 0 || area.H() <= 0)
        return;
    const unsigned w = static_cast<unsigned>(area.W());
    const unsigned h = static_cast<unsigned>(area.H());
    if (sharedImage && area.R <= width && area.B <= height) {
        const int span = sharedImage->bytes_per_line / 4;
        auto* dest = reinterpret_cast<std::uint32_t*>(sharedImage->data);
        for (int y = area.T; y < area.B; ++y)
            std::memcpy(dest + static_cast<size_t>(y) * span + area.L,
                        pixels + static_cast<size_t>(y) * rowSpan + area.L, w * 4u);
        XShmPutImage(display, window, gc, sharedImage, area.L, area.T, area.L, area.T, w, h, False);
        // The server reads the shared image after this call returns: wait for it, so the next
        // frame can overwrite the image.
        XSync(display, False);
        return;
    }
    XImage image{};
    image.width = bufferWidth;
    image.height = bufferHeight;
    image.format = ZPixmap;
    image.data = reinterpret_cast<char*>(const_cast<std::uint32_t*>(pixels));
    image.byte_order = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? MSBFirst : LSBFirst;
    image.bitmap_unit = 32;
    image.bitmap_bit_order = LSBFirst;
    image.bitmap_pad = 32;
    image.depth = 24;
    image.bytes_per_line = rowSpan * 4;
    image.bits_per_pixel = 32;
    image.red_mask = 0xFF0000;
    image.green_mask = 0x00FF00;
    image.blue_mask = 0x0000FF;
    if (!XInitImage(&image))
        return;
    XPutImage(display, window, gc, &image, area.L, area.T, area.L, area.T, w, h);
    XFlush(display);
}
