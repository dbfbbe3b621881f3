#include "PackedArtwork.h"

#include "PanelArtwork.h"

#include <QResource>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

std::optional<PackedPicture> PackedArtwork(int id, int scale) {
    std::optional<PackedPicture> packed =
        PackedPicture::FromPackedFile(QResource(PanelArtwork::packedPath(id, scale)).uncompressedData());
    if (packed) {
        return packed;
    }
    [[maybe_unused]] bool readBitmap = false;  // used only where the heap is trimmed
    {
        const QByteArray bitmap = QResource(PanelArtwork::bitmapPath(id, scale)).uncompressedData();
        readBitmap = !bitmap.isEmpty();
        packed = PackedPicture::FromBitmapFile(bitmap);
    }
#if defined(__GLIBC__)
    // The bitmap's bytes, up to 7.4 MB for the background at scale 2, were only needed for the
    // packing; their pages go back to the system now rather than stay in the process's heap.
    if (readBitmap) {
        malloc_trim(0);
    }
#endif
    return packed;
}
