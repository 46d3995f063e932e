#ifdef SKRIBANDO_HAVE_XCB_SHM

#include "platform/xcb_shm_segments.h"

#include <cstdlib>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <utility>

namespace {

// What a picture over a segment holds, to give it back.
struct Lease {
    std::shared_ptr<ShmSegmentPool> pool;
    ShmSegmentPool::Segment segment;
};

void giveBack(void* info) {
    auto* lease = static_cast<Lease*>(info);
    lease->pool->give(lease->segment);
    delete lease;
}

} // namespace

ShmSegmentPool::~ShmSegmentPool() {
    disconnect();
}

ShmSegmentPool::Result ShmSegmentPool::take(size_t bytes, Segment& segment) {
    {
        std::lock_guard guard(lock_);
        if (!xcb_)
            return Result::Failed;
        for (auto it = spare_.begin(); it != spare_.end(); ++it)
            if (it->size >= bytes) {
                segment = *it;
                spare_.erase(it);
                return Result::Ok;
            }
    }
    // Marked for removal as soon as we have attached it, so the system frees the segment
    // when the last side lets go, also after a crash.
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0)
        return Result::Failed;
    void* memory = shmat(id, nullptr, 0);
    shmctl(id, IPC_RMID, nullptr);
    if (memory == reinterpret_cast<void*>(-1))
        return Result::Failed;
    const xcb_shm_seg_t server = xcb_generate_id(xcb_);
    xcb_generic_error_t* error =
        xcb_request_check(xcb_, xcb_shm_attach_checked(xcb_, server, id, 0));
    if (error) {
        std::free(error);
        shmdt(memory);
        return Result::Refused;
    }
    segment = {server, static_cast<uchar*>(memory), bytes};
    return Result::Ok;
}

void ShmSegmentPool::give(const Segment& segment) {
    std::lock_guard guard(lock_);
    Segment released = segment;
    if (xcb_) {
        if (spare_.empty()) {
            spare_.push_back(segment);
            return;
        }
        // Keep the larger one: the next grab is most likely of the same screen.
        if (spare_.front().size < released.size)
            std::swap(spare_.front(), released);
    }
    release(released);
}

void ShmSegmentPool::release(const Segment& segment) {
    if (xcb_ && !xcb_connection_has_error(xcb_)) {
        xcb_shm_detach(xcb_, segment.server);
        xcb_flush(xcb_);
    }
    shmdt(segment.memory);
}

QImage ShmSegmentPool::wrap(const std::shared_ptr<ShmSegmentPool>& pool, const Segment& segment,
                            int width, int height, int bytesPerLine) {
    auto* lease = new Lease{pool, segment};
    QImage picture(segment.memory, width, height, bytesPerLine, QImage::Format_RGB32, giveBack,
                   lease);
    if (picture.isNull())
        giveBack(lease);
    return picture;
}

void ShmSegmentPool::disconnect() {
    std::lock_guard guard(lock_);
    for (const Segment& segment : spare_)
        release(segment);
    spare_.clear();
    xcb_ = nullptr;
}

#endif
