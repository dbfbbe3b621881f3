#pragma once

#include "PackedPicture.h"

#include <QPoint>
#include <QRgb>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

// Texts as they look blended onto the picture right under them, kept so that a repaint copies
// them rather than blending every glyph again. What is kept is bounded in bytes: past that, the
// texts used neither by the repaint going on nor by the one before are dropped.
class ComposedTexts {
public:
    // One text of a key, placed relative to the key's area.
    struct Layer {
        const void* shape;  // the text shaped in its font
        QPoint at;
        QRgb colour;
        bool operator==(const Layer& other) const {
            return shape == other.shape && at == other.at && colour == other.colour;
        }
    };
    // An area of one picture with texts blended onto it in turn, the last being the one the key
    // is for: the same key always gives the same pixels.
    struct Key {
        const void* picture;  // the picture under the texts, as the surface keeps it
        QPoint offset;        // where the area lies on that picture, in layout pixels
        std::vector<Layer> layers;
        bool operator==(const Key& other) const {
            return picture == other.picture && offset == other.offset && layers == other.layers;
        }
    };

    // Enough for the texts of a screen at scale 1, and of part of one at scale 2, where more would
    // cost more memory than blending them again costs time.
    static constexpr size_t kMostBytes = 768 * 1024;

    // The pixels kept for key, or null.
    const PackedPicture* Find(const Key& key);
    // Whether pixels of about this many bytes can be kept now, making room if need be: when the
    // repaint going on already uses every byte, a text is better blended in place than composed.
    bool HasRoomFor(size_t bytes);
    // Keeps pixels for key; holder keeps what key points to alive while they are kept.
    const PackedPicture* Add(const Key& key, PackedPicture pixels, std::shared_ptr<const void> holder);
    // A new repaint begins.
    void NextPass() { ++pass_; }
    void Clear();
    size_t bytes() const { return bytes_; }
    size_t size() const { return kept_.size(); }

private:
    struct KeyHash {
        size_t operator()(const Key& key) const;
    };
    struct Kept {
        PackedPicture pixels;
        std::shared_ptr<const void> holder;
        uint64_t lastPass;
    };
    void MakeRoom(size_t needed);

    std::unordered_map<Key, Kept, KeyHash> kept_;
    size_t bytes_ = 0;
    uint64_t pass_ = 0;
};
