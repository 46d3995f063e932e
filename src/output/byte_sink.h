#pragma once
// Where encoders put their bytes: a file being written, or memory for tests and benchmarks.

#include "platform/outcome.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class ByteSink {
public:
    virtual ~ByteSink() = default;

    // Appends the bytes. After the first failure every further write fails at once and
    // status() holds the reason, so an encoder may check only at its end.
    bool write(const void* data, size_t size);
    const Outcome& status() const { return status_; }

protected:
    // Appends the bytes or returns the failure; called only while no failure happened.
    virtual Outcome append(const void* data, size_t size) = 0;

private:
    Outcome status_ = Outcome::ok();
};

class MemorySink : public ByteSink {
public:
    const std::vector<uint8_t>& bytes() const { return bytes_; }

protected:
    Outcome append(const void* data, size_t size) override;

private:
    std::vector<uint8_t> bytes_;
};
