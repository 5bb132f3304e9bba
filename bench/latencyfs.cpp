// kelvoro_latencyfs: mirrors a directory through FUSE and waits a fixed time in every operation,
// so a local disk behaves like a share a network round trip away.
//
//   kelvoro_latencyfs --latency-ms N SOURCE MOUNTPOINT [FUSE OPTION...]
//
// It runs in the foreground with many threads, and unmounts when it ends or gets SIGINT,
// SIGTERM or SIGHUP.

#define FUSE_USE_VERSION 312
#include <fuse.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string g_source;
std::chrono::microseconds g_latency{0};

// Every operation pays the round trip before it starts, as a request to a server would.
std::string arrive(const char* path) {
    if (g_latency.count() > 0)
        std::this_thread::sleep_for(g_latency);
    return g_source + path;
}

int status(int rc) {
    return rc < 0 ? -errno : 0;
}

int count(ssize_t rc) {
    return rc < 0 ? -errno : static_cast<int>(rc);
}

bool hasFile(const fuse_file_info* fi) {
    return fi != nullptr && fi->fh != 0;
}

void* init(fuse_conn_info* connection, fuse_config* config) {
    // Lookups in one folder overlap, as they do on NFS or SMB.
    if (connection->capable & FUSE_CAP_PARALLEL_DIROPS)
        connection->want |= FUSE_CAP_PARALLEL_DIROPS;
    // The real inode numbers, so that what the client checks is what the disk holds.
    config->use_ino = 1;
    // Names stay known once looked up, as a client's directory cache keeps them; attributes
    // are asked for again after a second, as SMB and NFS clients do.
    config->entry_timeout = 3600;
    config->attr_timeout = 1;
    return nullptr;
}

int getattr(const char* path, struct stat* st, fuse_file_info* fi) {
    const std::string p = arrive(path);
    return status(hasFile(fi) ? ::fstat(static_cast<int>(fi->fh), st) : ::lstat(p.c_str(), st));
}

int readlink(const char* path, char* buffer, size_t size) {
    const std::string p = arrive(path);
    const ssize_t n = ::readlink(p.c_str(), buffer, size - 1);
    if (n < 0)
        return -errno;
    buffer[n] = '\0';
    return 0;
}

int mknod(const char* path, mode_t mode, dev_t device) {
    return status(::mknod(arrive(path).c_str(), mode, device));
}

int mkdir(const char* path, mode_t mode) {
    return status(::mkdir(arrive(path).c_str(), mode));
}

int unlink(const char* path) {
    return status(::unlink(arrive(path).c_str()));
}

int rmdir(const char* path) {
    return status(::rmdir(arrive(path).c_str()));
}

int symlink(const char* target, const char* path) {
    return status(::symlink(target, arrive(path).c_str()));
}

int rename(const char* from, const char* to, unsigned int flags) {
    const std::string source = arrive(from);
    const std::string target = g_source + to;
    return status(::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), flags));
}

int link(const char* from, const char* to) {
    const std::string source = arrive(from);
    return status(::link(source.c_str(), (g_source + to).c_str()));
}

int chmod(const char* path, mode_t mode, fuse_file_info* fi) {
    const std::string p = arrive(path);
    return status(hasFile(fi) ? ::fchmod(static_cast<int>(fi->fh), mode)
                              : ::chmod(p.c_str(), mode));
}

int chown(const char* path, uid_t uid, gid_t gid, fuse_file_info* fi) {
    const std::string p = arrive(path);
    return status(hasFile(fi) ? ::fchown(static_cast<int>(fi->fh), uid, gid)
                              : ::lchown(p.c_str(), uid, gid));
}

int truncate(const char* path, off_t size, fuse_file_info* fi) {
    const std::string p = arrive(path);
    return status(hasFile(fi) ? ::ftruncate(static_cast<int>(fi->fh), size)
                              : ::truncate(p.c_str(), size));
}

int open(const char* path, fuse_file_info* fi) {
    const int fd = ::open(arrive(path).c_str(), fi->flags);
    if (fd < 0)
        return -errno;
    fi->fh = static_cast<uint64_t>(fd);
    return 0;
}

int create(const char* path, mode_t mode, fuse_file_info* fi) {
    const int fd = ::open(arrive(path).c_str(), fi->flags | O_CREAT, mode);
    if (fd < 0)
        return -errno;
    fi->fh = static_cast<uint64_t>(fd);
    return 0;
}

int read(const char* path, char* buffer, size_t size, off_t offset, fuse_file_info* fi) {
    arrive(path);
    return count(::pread(static_cast<int>(fi->fh), buffer, size, offset));
}

int write(const char* path, const char* buffer, size_t size, off_t offset, fuse_file_info* fi) {
    arrive(path);
    return count(::pwrite(static_cast<int>(fi->fh), buffer, size, offset));
}

int statfs(const char* path, struct statvfs* st) {
    return status(::statvfs(arrive(path).c_str(), st));
}

int release(const char*, fuse_file_info* fi) {
    // Closing is the client's own business: no round trip.
    return status(::close(static_cast<int>(fi->fh)));
}

int fsync(const char* path, int dataOnly, fuse_file_info* fi) {
    arrive(path);
    const int fd = static_cast<int>(fi->fh);
    return status(dataOnly ? ::fdatasync(fd) : ::fsync(fd));
}

int setxattr(const char* path, const char* name, const char* value, size_t size, int flags) {
    return status(::lsetxattr(arrive(path).c_str(), name, value, size, flags));
}

int getxattr(const char* path, const char* name, char* value, size_t size) {
    return count(::lgetxattr(arrive(path).c_str(), name, value, size));
}

int listxattr(const char* path, char* list, size_t size) {
    return count(::llistxattr(arrive(path).c_str(), list, size));
}

int removexattr(const char* path, const char* name) {
    return status(::lremovexattr(arrive(path).c_str(), name));
}

int readdir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*,
            fuse_readdir_flags) {
    DIR* dir = ::opendir(arrive(path).c_str());
    if (dir == nullptr)
        return -errno;
    while (const dirent* entry = ::readdir(dir)) {
        struct stat st {};
        st.st_ino = entry->d_ino;
        st.st_mode = static_cast<mode_t>(DTTOIF(entry->d_type));
        if (fill(buffer, entry->d_name, &st, 0, static_cast<fuse_fill_dir_flags>(0)) != 0)
            break;
    }
    ::closedir(dir);
    return 0;
}

int access(const char* path, int mask) {
    return status(::access(arrive(path).c_str(), mask));
}

int utimens(const char* path, const struct timespec times[2], fuse_file_info* fi) {
    const std::string p = arrive(path);
    return status(hasFile(fi) ? ::futimens(static_cast<int>(fi->fh), times)
                              : ::utimensat(AT_FDCWD, p.c_str(), times, AT_SYMLINK_NOFOLLOW));
}

fuse_operations operations() {
    fuse_operations ops{};
    ops.init = init;
    ops.getattr = getattr;
    ops.readlink = readlink;
    ops.mknod = mknod;
    ops.mkdir = mkdir;
    ops.unlink = unlink;
    ops.rmdir = rmdir;
    ops.symlink = symlink;
    ops.rename = rename;
    ops.link = link;
    ops.chmod = chmod;
    ops.chown = chown;
    ops.truncate = truncate;
    ops.open = open;
    ops.create = create;
    ops.read = read;
    ops.write = write;
    ops.statfs = statfs;
    ops.release = release;
    ops.fsync = fsync;
    ops.setxattr = setxattr;
    ops.getxattr = getxattr;
    ops.listxattr = listxattr;
    ops.removexattr = removexattr;
    ops.readdir = readdir;
    ops.access = access;
    ops.utimens = utimens;
    return ops;
}

// Many threads: each waits out its operation's latency, and a client with many calls in flight
// must not queue behind a handful of them.
int serve(std::vector<char*>& args, const char* mountPoint) {
    constexpr unsigned kMaxThreads = 256;
    fuse_args fuseArgs = FUSE_ARGS_INIT(static_cast<int>(args.size()), args.data());
    const fuse_operations ops = operations();
    fuse* fs = fuse_new(&fuseArgs, &ops, sizeof ops, nullptr);
    if (fs == nullptr)
        return 1;
    int rc = 1;
    if (fuse_mount(fs, mountPoint) == 0) {
        fuse_session* session = fuse_get_session(fs);
        if (fuse_set_signal_handlers(session) == 0) {
            fuse_loop_config* config = fuse_loop_cfg_create();
            fuse_loop_cfg_set_max_threads(config, kMaxThreads);
            fuse_loop_cfg_set_idle_threads(config, kMaxThreads);
            rc = fuse_loop_mt(fs, config) == 0 ? 0 : 1;
            fuse_loop_cfg_destroy(config);
            fuse_remove_signal_handlers(session);
        }
        fuse_unmount(fs);
    }
    fuse_destroy(fs);
    return rc;
}

int usage() {
    std::fprintf(stderr, "usage: kelvoro_latencyfs --latency-ms N SOURCE MOUNTPOINT "
                         "[FUSE OPTION...]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5 || std::strcmp(argv[1], "--latency-ms") != 0)
        return usage();
    char* end = nullptr;
    const double milliseconds = std::strtod(argv[2], &end);
    if (end == argv[2] || *end != '\0' || milliseconds < 0)
        return usage();
    g_latency = std::chrono::microseconds(static_cast<long>(milliseconds * 1000));
    char* source = ::realpath(argv[3], nullptr);
    if (source == nullptr) {
        std::perror(argv[3]);
        return 1;
    }
    g_source = source;
    std::free(source);
    if (g_source == "/")
        g_source.clear();

    std::vector<char*> args{argv[0], const_cast<char*>("-o"),
                            const_cast<char*>("fsname=kelvoro-latency,default_permissions")};
    for (int i = 5; i < argc; ++i)
        args.push_back(argv[i]);
    return serve(args, argv[4]);
}
