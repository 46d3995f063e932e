#pragma once
// Shared memory segments attached both here and in the X server, handed out as the memory
// of the pictures we return. A grab's pixels stay where the server wrote them, and a
// segment comes back for the next grab when its picture is destroyed, so a steady series
// of grabs neither copies 33 MB a time nor touches fresh memory.
//
// Only built with xcb-shm (SKRIBANDO_HAVE_XCB_SHM).

#include <QImage>
#include <memory>
#include <mutex>
#include <vector>
#include <xcb/shm.h>
#include <xcb/xcb.h>

class ShmSegmentPool {
public:
    struct Segment {
        xcb_shm_seg_t server = 0;
        uchar* memory = nullptr;
        size_t size = 0;
    };

    // The pool must be held by a shared_ptr: pictures keep it alive after the grabber.
    explicit ShmSegmentPool(xcb_connection_t* xcb) : xcb_(xcb) {}
    ~ShmSegmentPool();
    ShmSegmentPool(const ShmSegmentPool&) = delete;
    ShmSegmentPool& operator=(const ShmSegmentPool&) = delete;

    enum class Result { Ok, Failed, Refused };
    // A segment of at least `bytes`: a spare one, or a new one. Refused means the server
    // will never attach our memory (another machine or IPC namespace).
    Result take(size_t bytes, Segment& segment);

    // Takes a segment back (after a failed grab, or when its picture goes).
    void give(const Segment& segment);

    // A picture over `segment` that gives it back when destroyed.
    static QImage wrap(const std::shared_ptr<ShmSegmentPool>& pool, const Segment& segment,
                       int width, int height, int bytesPerLine);

    // The connection is closing: spare segments go; those still in pictures are only
    // unmapped here when their pictures go (the server frees its side with the connection).
    void disconnect();

private:
    void release(const Segment& segment);

    std::mutex lock_;
    xcb_connection_t* xcb_;
    // At most one spare: enough for grab after grab, and for one picture still held (the
    // last freeze) while the next grab runs.
    std::vector<Segment> spare_;
};
