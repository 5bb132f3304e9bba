#include "platform/attributestore.h"
#include "platform/posix/statusbackend.h"

namespace kelvoro::platform {

StoreProbe probeAttributeStore(const std::string& path) {
    posix::NativeState state;
    StoreProbe probe;
    probe.error = posix::readNativeState(posix::realSystemCalls(), path, state);
    if (probe.error != 0)
        return probe;
    switch (state.kind) {
    case posix::FileSystemKind::Generic:
        // A file system without user attributes answers ENOTSUP to the read of the blob.
        probe.store = state.blobError == ENOTSUP ? AttributeStore::None : AttributeStore::SambaBlob;
        break;
    case posix::FileSystemKind::Fat:
        probe.store = AttributeStore::Fat;
        break;
    case posix::FileSystemKind::Ntfs3:
        probe.store = AttributeStore::Ntfs3;
        break;
    case posix::FileSystemKind::Ntfs3g:
        probe.store = AttributeStore::Ntfs3g;
        break;
    case posix::FileSystemKind::Cifs:
        probe.store = AttributeStore::Cifs;
        break;
    }
    return probe;
}

} // namespace kelvoro::platform
