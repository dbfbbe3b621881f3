#include "ComposedTexts.h"

#include <QHashFunctions>

size_t ComposedTexts::KeyHash::operator()(const Key& key) const {
    size_t hash = qHashMulti(0, key.picture, key.offset.x(), key.offset.y());
    for (const Layer& layer : key.layers) {
        hash = qHashMulti(hash, layer.shape, layer.at.x(), layer.at.y(), layer.colour);
    }
    return hash;
}

const PackedPicture* ComposedTexts::Find(const Key& key) {
    const auto found = kept_.find(key);
    if (found == kept_.end()) {
        return nullptr;
    }
    found->second.lastPass = pass_;
    return &found->second.pixels;
}

const PackedPicture* ComposedTexts::Add(const Key& key, PackedPicture pixels,
                                        std::shared_ptr<const void> holder) {
    const size_t size = pixels.byteSize();
    if (size > kMostBytes) {
        return nullptr;
    }
    if (const auto old = kept_.find(key); old != kept_.end()) {
        bytes_ -= old->second.pixels.byteSize();
        kept_.erase(old);
    }
    MakeRoom(size);
    if (bytes_ + size > kMostBytes) {
        return nullptr;
    }
    bytes_ += size;
    const auto added = kept_.insert_or_assign(key, Kept{std::move(pixels), std::move(holder), pass_});
    return &added.first->second.pixels;
}

bool ComposedTexts::HasRoomFor(size_t bytes) {
    MakeRoom(bytes);
    return bytes_ + bytes <= kMostBytes;
}

void ComposedTexts::Clear() {
    kept_.clear();
    bytes_ = 0;
}

void ComposedTexts::MakeRoom(size_t needed) {
    if (bytes_ + needed <= kMostBytes) {
        return;
    }
    // What the last repaint used stays too: this one, drawing the same, will likely use it later on.
    for (auto kept = kept_.begin(); kept != kept_.end();) {
        if (kept->second.lastPass + 1 < pass_) {
            bytes_ -= kept->second.pixels.byteSize();
            kept = kept_.erase(kept);
        } else {
            ++kept;
        }
    }
}
