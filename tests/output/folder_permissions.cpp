#include "folder_permissions.h"

#include <QFile>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h> // syscall

namespace {

constexpr unsigned kOverrideBits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

bool capabilities(__user_cap_data_struct (&data)[2], bool set) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(set ? SYS_capset : SYS_capget, &header, data) == 0;
}

} // namespace

ReadOnlyFolder::ReadOnlyFolder(const QString& path) : path_(path) {
    if (!QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner))
        return;
    __user_cap_data_struct data[2]{};
    if (capabilities(data, false) && (data[0].effective & kOverrideBits)) {
        savedEffective_ = data[0].effective;
        data[0].effective &= ~kOverrideBits;
        capabilityDropped_ = capabilities(data, true);
        if (!capabilityDropped_)
            return;
    }
    // access() judges by the real user, so try what the save will do: create a file.
    QFile probe(path + "/.probe");
    active_ = !probe.open(QIODevice::NewOnly);
    if (!active_)
        probe.remove();
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (capabilityDropped_) {
        __user_cap_data_struct data[2]{};
        if (capabilities(data, false)) {
            data[0].effective = savedEffective_;
            capabilities(data, true);
        }
    }
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
