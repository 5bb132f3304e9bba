#pragma once

#include <string>

namespace kelvoro::platform {

// Where a file's Windows attributes and creation time are kept.
enum class AttributeStore {
    None,      // nowhere: the file system keeps no extended attributes
    SambaBlob, // user.DOSATTRIB, as Samba keeps them, with the mode's write bits
    Ntfs3g,    // the FUSE NTFS driver's attribute and creation-time records
    Ntfs3,     // the kernel NTFS driver: attributes only
    Cifs,      // the SMB client, which asks the server
    Fat,       // the FAT attribute byte
};

struct StoreProbe {
    int error = 0; // errno of a failed look at the file; 0 when it worked
    AttributeStore store = AttributeStore::None;
};

// Reads only; changes nothing.
StoreProbe probeAttributeStore(const std::string& path);

} // namespace kelvoro::platform
