#include "link/PortAccess.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace tervan {

namespace {

std::size_t LookupBufferSize() {
    const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    return size > 0 ? static_cast<std::size_t>(size) : 16384;
}

std::string UserName(uid_t uid) {
    std::vector<char> buffer(LookupBufferSize());
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return found->pw_name;
    }
    return std::to_string(uid);
}

std::string GroupName(gid_t gid) {
    std::vector<char> buffer(LookupBufferSize());
    group entry{};
    group* found = nullptr;
    if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return found->gr_name;
    }
    return std::to_string(gid);
}

} // namespace

std::optional<PortAccess> ReadPortAccess(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return PortAccess{UserName(status.st_uid), GroupName(status.st_gid),
                      static_cast<unsigned>(status.st_mode & 07777)};
}

} // namespace tervan
