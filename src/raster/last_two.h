#pragma once
// The last two values worked out, by key. A rubber band takes off the figure it drew one
// move before and draws the new one: both must be at hand at once, so both stay valid until
// a third is asked for.

namespace raster {

template <typename Key, typename Value> class LastTwo {
public:
    // The value kept for `key`; when there is none, the one used longer ago makes room and
    // compute(Value&) works the new one out in its place (reusing its memory).
    template <typename Compute> Value& get(const Key& key, Compute&& compute) {
        for (Entry& entry : entries_) {
            if (entry.valid && entry.key == key) {
                entry.used = ++uses_;
                return entry.value;
            }
        }
        Entry& entry = entries_[0].used <= entries_[1].used ? entries_[0] : entries_[1];
        entry.valid = false; // until the new value is whole
        compute(entry.value);
        entry.key = key;
        entry.valid = true;
        entry.used = ++uses_;
        return entry.value;
    }

private:
    struct Entry {
        bool valid = false;
        Key key{};
        unsigned long used = 0;
        Value value{};
    };
    Entry entries_[2];
    unsigned long uses_ = 0;
};

} // namespace raster
