// Counts the file operations of a process, and optionally delays each one: loaded with
// LD_PRELOAD in front of the C library. Every call that names a path, asks about a file,
// lists a folder, locks or syncs is one round trip to the server on a network share, so
// their number is what a lab on a share waits for. Reads and writes of open files are
// counted apart (a share serves them in large blocks).
//
//   PROVERON_FILE_DELAY_US=2000  delays every counted operation by 2 ms (a slow share).
//
// A program asks for the counts with proveron_file_ops() (found with dlsym, so that it
// runs unchanged without the shim).

#define _GNU_SOURCE
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdatomic.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <time.h>
#include <unistd.h>

struct proveron_file_counts {
    long operations; // every counted call, syncs included
    long syncs;      // fsync, fdatasync
    long data;       // read, write, pread, pwrite of files (not counted above)
};

static _Atomic long operations, syncs, data;
static long delayMicroseconds = -1;

static void pause_for_share(void) {
    if (delayMicroseconds < 0) {
        const char* value = getenv("PROVERON_FILE_DELAY_US");
        delayMicroseconds = value ? atol(value) : 0;
    }
    if (delayMicroseconds > 0) {
        struct timespec wait = {delayMicroseconds / 1000000, (delayMicroseconds % 1000000) * 1000};
        while (nanosleep(&wait, &wait) != 0) {
        }
    }
}

static void counted(void) {
    atomic_fetch_add(&operations, 1);
    pause_for_share();
}

__attribute__((visibility("default"))) struct proveron_file_counts proveron_file_ops(void) {
    struct proveron_file_counts counts = {operations, syncs, data};
    return counts;
}

#define NEXT(name)                                                                                 \
    static __typeof__(name)* real;                                                                 \
    if (!real) real = (__typeof__(name)*)dlsym(RTLD_NEXT, #name)

#define PATH_CALL(ret, name, params, args)                                                         \
    __attribute__((visibility("default"))) ret name params {                                       \
        NEXT(name);                                                                                \
        counted();                                                                                 \
        return real args;                                                                          \
    }

static mode_t mode_of(int flags, va_list list) {
    return (flags & O_CREAT) || (flags & __O_TMPFILE) == __O_TMPFILE ? va_arg(list, mode_t) : 0;
}

// The open family takes a mode only with O_CREAT or O_TMPFILE, as a variadic argument.
#define OPEN_CALL(name, params, args)                                                              \
    __attribute__((visibility("default"))) int name params {                                       \
        NEXT(name);                                                                                \
        va_list list;                                                                              \
        va_start(list, flags);                                                                     \
        mode_t mode = mode_of(flags, list);                                                        \
        va_end(list);                                                                              \
        counted();                                                                                 \
        return real args;                                                                          \
    }

OPEN_CALL(open, (const char* path, int flags, ...), (path, flags, mode))
OPEN_CALL(open64, (const char* path, int flags, ...), (path, flags, mode))
OPEN_CALL(openat, (int dir, const char* path, int flags, ...), (dir, path, flags, mode))
OPEN_CALL(openat64, (int dir, const char* path, int flags, ...), (dir, path, flags, mode))

PATH_CALL(int, stat, (const char* p, struct stat* s), (p, s))
PATH_CALL(int, stat64, (const char* p, struct stat64* s), (p, s))
PATH_CALL(int, lstat, (const char* p, struct stat* s), (p, s))
PATH_CALL(int, lstat64, (const char* p, struct stat64* s), (p, s))
PATH_CALL(int, fstat, (int fd, struct stat* s), (fd, s))
PATH_CALL(int, fstat64, (int fd, struct stat64* s), (fd, s))
PATH_CALL(int, fstatat, (int d, const char* p, struct stat* s, int f), (d, p, s, f))
PATH_CALL(int, fstatat64, (int d, const char* p, struct stat64* s, int f), (d, p, s, f))
PATH_CALL(int, statx, (int d, const char* p, int f, unsigned m, struct statx* s), (d, p, f, m, s))
PATH_CALL(int, access, (const char* p, int m), (p, m))
PATH_CALL(int, faccessat, (int d, const char* p, int m, int f), (d, p, m, f))
PATH_CALL(int, euidaccess, (const char* p, int m), (p, m))
PATH_CALL(DIR*, opendir, (const char* p), (p))
PATH_CALL(DIR*, fdopendir, (int fd), (fd))
PATH_CALL(int, rename, (const char* a, const char* b), (a, b))
PATH_CALL(int, renameat, (int d, const char* a, int e, const char* b), (d, a, e, b))
PATH_CALL(int, renameat2, (int d, const char* a, int e, const char* b, unsigned f), (d, a, e, b, f))
PATH_CALL(int, link, (const char* a, const char* b), (a, b))
PATH_CALL(int, linkat, (int d, const char* a, int e, const char* b, int f), (d, a, e, b, f))
PATH_CALL(int, unlink, (const char* p), (p))
PATH_CALL(int, unlinkat, (int d, const char* p, int f), (d, p, f))
PATH_CALL(int, mkdir, (const char* p, mode_t m), (p, m))
PATH_CALL(int, mkdirat, (int d, const char* p, mode_t m), (d, p, m))
PATH_CALL(int, rmdir, (const char* p), (p))
PATH_CALL(ssize_t, readlink, (const char* p, char* b, size_t n), (p, b, n))
PATH_CALL(char*, realpath, (const char* p, char* r), (p, r))
PATH_CALL(int, statfs, (const char* p, struct statfs* s), (p, s))
PATH_CALL(int, statfs64, (const char* p, struct statfs64* s), (p, s))
PATH_CALL(int, fstatfs, (int fd, struct statfs* s), (fd, s))
PATH_CALL(int, ftruncate, (int fd, off_t n), (fd, n))
PATH_CALL(int, fchmod, (int fd, mode_t m), (fd, m))
PATH_CALL(int, chmod, (const char* p, mode_t m), (p, m))
PATH_CALL(int, flock, (int fd, int op), (fd, op))

// Taking, testing or letting go a lock is a round trip on a share; other commands are not.
static int isLockCommand(int command) {
    return command == F_SETLK || command == F_SETLKW || command == F_OFD_SETLK ||
           command == F_OFD_SETLKW || command == F_GETLK || command == F_OFD_GETLK;
}

__attribute__((visibility("default"))) int fcntl(int fd, int command, ...) {
    NEXT(fcntl);
    va_list list;
    va_start(list, command);
    void* argument = va_arg(list, void*);
    va_end(list);
    if (isLockCommand(command)) counted();
    return real(fd, command, argument);
}
__attribute__((visibility("default"))) int fcntl64(int fd, int command, ...) {
    NEXT(fcntl64);
    va_list list;
    va_start(list, command);
    void* argument = va_arg(list, void*);
    va_end(list);
    if (isLockCommand(command)) counted();
    return real(fd, command, argument);
}

__attribute__((visibility("default"))) int fsync(int fd) {
    NEXT(fsync);
    atomic_fetch_add(&syncs, 1);
    counted();
    return real(fd);
}
__attribute__((visibility("default"))) int fdatasync(int fd) {
    NEXT(fdatasync);
    atomic_fetch_add(&syncs, 1);
    counted();
    return real(fd);
}

static int is_file(int fd) {
    NEXT(fstat);
    struct stat info;
    return real(fd, &info) == 0 && S_ISREG(info.st_mode);
}
__attribute__((visibility("default"))) ssize_t read(int fd, void* b, size_t n) {
    NEXT(read);
    if (is_file(fd)) atomic_fetch_add(&data, 1);
    return real(fd, b, n);
}
__attribute__((visibility("default"))) ssize_t write(int fd, const void* b, size_t n) {
    NEXT(write);
    if (is_file(fd)) atomic_fetch_add(&data, 1);
    return real(fd, b, n);
}
__attribute__((visibility("default"))) ssize_t pread(int fd, void* b, size_t n, off_t o) {
    NEXT(pread);
    atomic_fetch_add(&data, 1);
    return real(fd, b, n, o);
}
__attribute__((visibility("default"))) ssize_t pread64(int fd, void* b, size_t n, off_t o) {
    NEXT(pread64);
    atomic_fetch_add(&data, 1);
    return real(fd, b, n, o);
}
__attribute__((visibility("default"))) ssize_t pwrite(int fd, const void* b, size_t n, off_t o) {
    NEXT(pwrite);
    atomic_fetch_add(&data, 1);
    return real(fd, b, n, o);
}
__attribute__((visibility("default"))) ssize_t pwrite64(int fd, const void* b, size_t n, off_t o) {
    NEXT(pwrite64);
    atomic_fetch_add(&data, 1);
    return real(fd, b, n, o);
}

__attribute__((visibility("default"))) int __open_2(const char* path, int flags) {
    NEXT(__open_2);
    counted();
    return real(path, flags);
}
__attribute__((visibility("default"))) int __open64_2(const char* path, int flags) {
    NEXT(__open64_2);
    counted();
    return real(path, flags);
}
