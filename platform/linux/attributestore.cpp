#include "platform/attributestore.h"
#include "platform/linux/statusbackend.h"

namespace kelvoro::platform {

StoreProbe probeAttributeStore(const std::string& path) {
    linuxos::NativeState state;
    StoreProbe probe;
    probe.error = linuxos::readNativeState(linuxos::realSystemCalls(), path, state);
    if (probe.error != 0)
        return probe;
    switch (state.kind) {
    case linuxos::FileSystemKind::Generic:
        // A file system without user attributes answers ENOTSUP to the read of the blob.
        probe.store = state.blobError == ENOTSUP ? AttributeStore::None : AttributeStore::SambaBlob;
        break;
    case linuxos::FileSystemKind::Fat:
        probe.store = AttributeStore::Fat;
        break;
    case linuxos::FileSystemKind::Ntfs3:
        probe.store = AttributeStore::Ntfs3;
        break;
    case linuxos::FileSystemKind::Ntfs3g:
        probe.store = AttributeStore::Ntfs3g;
        break;
    case linuxos::FileSystemKind::Cifs:
        probe.store = AttributeStore::Cifs;
        break;
    }
    return probe;
}

} // namespace kelvoro::platform
