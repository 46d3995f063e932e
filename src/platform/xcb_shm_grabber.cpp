#include "platform/xcb_shm_grabber.h"

#include "platform/xcb_pixels.h"

#ifdef SKRIBANDO_HAVE_XCB_SHM

#include "platform/xcb_shm_segments.h"

#include <algorithm>
#include <cstdlib>
#include <vector>
#include <xcb/shm.h>
#include <xcb/xcb.h>

namespace {

// Frees an xcb reply or error when it goes out of scope.
struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T> using Owned = std::unique_ptr<T, FreeDeleter>;

xcb_screen_t* screenNumber(const xcb_setup_t* setup, int number) {
    auto it = xcb_setup_roots_iterator(setup);
    for (; it.rem; --number, xcb_screen_next(&it))
        if (number == 0)
            return it.data;
    return nullptr;
}

// The layout of the root window's pixels: its depth's pixmap format and its visual's masks.
XPixelLayout rootLayout(const xcb_setup_t* setup, const xcb_screen_t* screen) {
    XPixelLayout layout;
    layout.depth = screen->root_depth;
    layout.msbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
        if (it.data->depth == screen->root_depth) {
            layout.bitsPerPixel = it.data->bits_per_pixel;
            layout.scanlinePad = it.data->scanline_pad;
        }
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem;
         xcb_depth_next(&depths)) {
        if (depths.data->depth != screen->root_depth)
            continue;
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals))
            if (visuals.data->visual_id == screen->root_visual) {
                layout.redMask = visuals.data->red_mask;
                layout.greenMask = visuals.data->green_mask;
                layout.blueMask = visuals.data->blue_mask;
            }
    }
    return layout;
}

} // namespace

struct XcbShmGrabber::Connection {
    xcb_connection_t* xcb = nullptr;
    xcb_screen_t* screen = nullptr;
    XPixelLayout layout;
    bool shm = false;

    std::shared_ptr<ShmSegmentPool> segments;

    explicit Connection(const QByteArray& display) {
        int number = 0;
        xcb = xcb_connect(display.isEmpty() ? nullptr : display.constData(), &number);
        if (xcb_connection_has_error(xcb))
            return;
        screen = screenNumber(xcb_get_setup(xcb), number);
        if (!screen)
            return;
        layout = rootLayout(xcb_get_setup(xcb), screen);
        const xcb_query_extension_reply_t* extension = xcb_get_extension_data(xcb, &xcb_shm_id);
        if (!extension || !extension->present)
            return;
        Owned<xcb_shm_query_version_reply_t> version(
            xcb_shm_query_version_reply(xcb, xcb_shm_query_version(xcb), nullptr));
        shm = version != nullptr && ReadableXLayout(layout);
        if (shm)
            segments = std::make_shared<ShmSegmentPool>(xcb);
    }

    ~Connection() {
        if (segments)
            segments->disconnect();
        xcb_disconnect(xcb);
    }

    bool working() const { return xcb && !xcb_connection_has_error(xcb) && screen && shm; }

    // The picture is the segment the server writes into, so its pixels are never copied
    // on our side; they only get their alpha byte. The rectangle is asked for in bands,
    // all requested at once: while we finish one band, the server already copies the next.
    QImage grab(const QRect& rect) {
        const int rowBytes = XRowBytes(layout, rect.width());
        ShmSegmentPool::Segment segment;
        switch (segments->take(size_t(rowBytes) * size_t(rect.height()), segment)) {
        case ShmSegmentPool::Result::Ok:
            break;
        case ShmSegmentPool::Result::Refused:
            // The server will never share memory with us: stop trying.
            shm = false;
            return {};
        case ShmSegmentPool::Result::Failed:
            return {};
        }
        QImage picture =
            ShmSegmentPool::wrap(segments, segment, rect.width(), rect.height(), rowBytes);
        if (picture.isNull())
            return {};
        constexpr int kBands = 8;
        const int bandRows = (rect.height() + kBands - 1) / kBands;
        std::vector<xcb_shm_get_image_cookie_t> cookies;
        for (int top = 0; top < rect.height(); top += bandRows)
            cookies.push_back(xcb_shm_get_image(
                xcb, screen->root, int16_t(rect.x()), int16_t(rect.y() + top),
                uint16_t(rect.width()), uint16_t(std::min(bandRows, rect.height() - top)), ~0u,
                XCB_IMAGE_FORMAT_Z_PIXMAP, segment.server, uint32_t(rowBytes * top)));
        bool complete = true;
        for (size_t band = 0; band < cookies.size(); ++band) {
            // Every reply is collected, also after a failure, so none is left queued.
            xcb_generic_error_t* rawError = nullptr;
            Owned<xcb_shm_get_image_reply_t> reply(
                xcb_shm_get_image_reply(xcb, cookies[band], &rawError));
            Owned<xcb_generic_error_t> error(rawError);
            const int top = int(band) * bandRows;
            const int rows = std::min(bandRows, rect.height() - top);
            complete = complete && reply && !error && reply->depth == layout.depth &&
                       reply->size >= uint32_t(rowBytes * rows);
            if (complete)
                ConvertXRows(layout, segment.memory + size_t(rowBytes) * size_t(top), picture, top,
                             rows);
        }
        // A failed picture gives its segment back when it goes.
        return complete ? picture : QImage();
    }
};

XcbShmGrabber::XcbShmGrabber(const QByteArray& display)
    : display_(display), connection_(std::make_unique<Connection>(display)) {}

XcbShmGrabber::~XcbShmGrabber() = default;

bool XcbShmGrabber::usable() const {
    return connection_->working();
}

QRect XcbShmGrabber::rootRect() const {
    if (!connection_->screen || xcb_connection_has_error(connection_->xcb))
        return {};
    return QRect(0, 0, connection_->screen->width_in_pixels, connection_->screen->height_in_pixels);
}

QImage XcbShmGrabber::grab(const QRect& rect) {
    if (!usable())
        return {};
    const QRect root = rootRect();
    const QRect wanted = rect.isEmpty() ? root : rect;
    // The server answers a rectangle outside the root with an error; refuse it here.
    if (!root.contains(wanted))
        return {};
    return connection_->grab(wanted);
}

#else // no xcb-shm at build time: every grab declines and the caller uses Qt's.

struct XcbShmGrabber::Connection {};

XcbShmGrabber::XcbShmGrabber(const QByteArray& display)
    : display_(display), connection_(std::make_unique<Connection>()) {}
XcbShmGrabber::~XcbShmGrabber() = default;
bool XcbShmGrabber::usable() const {
    return false;
}
QRect XcbShmGrabber::rootRect() const {
    return {};
}
QImage XcbShmGrabber::grab(const QRect&) {
    return {};
}

#endif
