#include "output/byte_sink.h"

bool ByteSink::write(const void* data, size_t size) {
    if (!status_)
        return false;
    status_ = append(data, size);
    return status_.isOk();
}

Outcome MemorySink::append(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), bytes, bytes + size);
    return Outcome::ok();
}
