/* A slow or hanging memory card for tests and benchmarks, preloaded into a program
 * (LD_PRELOAD=libveltrix_slow_card.so). Reads of files below one folder are made as slow as a
 * card's: a transfer rate, and a seek time for every read that does not continue where the last
 * read of that descriptor ended. One card serves one read at a time, so threads that read at once
 * share its rate. Optionally the card hangs: while a flag file exists, every open and read below
 * the folder waits, as on a card that stopped answering; removing the flag releases them.
 * Files elsewhere are not touched.
 *
 *   VELTRIX_SLOW_CARD_DIR        the card's folder (nothing is slowed without it)
 *   VELTRIX_SLOW_CARD_MBPS       transfer rate in MB/s (10^6 bytes), default 30
 *   VELTRIX_SLOW_CARD_SEEK_MS    seek time per non-sequential read, "min-max" ms, default "1-3"
 *   VELTRIX_SLOW_CARD_HANG_FLAG  a file whose existence makes the card hang
 *   VELTRIX_SLOW_CARD_REPORT     when set, the counts are printed to standard error at exit
 *
 * The counts (reads, bytes, seeks, opens below the folder) can be asked in-process through
 * veltrix_slow_card_counts, looked up with dlsym(RTLD_DEFAULT, ...). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdatomic.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

#define MAX_FDS 65536

static pthread_once_t s_once = PTHREAD_ONCE_INIT;
static char s_dir[PATH_MAX];
static size_t s_dirLen;
static double s_bytesPerNs;
static long s_seekMinNs, s_seekMaxNs;
static char s_hangFlag[PATH_MAX];

static _Atomic unsigned char s_slow[MAX_FDS];
static _Atomic long long s_nextOffset[MAX_FDS];
static _Atomic uint64_t s_reads, s_bytes, s_seeks, s_opens;
static _Atomic uint64_t s_seed = 88172645463325252ull;

static pthread_mutex_t s_card = PTHREAD_MUTEX_INITIALIZER;
static struct timespec s_cardFree;

static int (*real_open)(const char*, int, ...);
static int (*real_open64)(const char*, int, ...);
static int (*real_openat)(int, const char*, int, ...);
static int (*real_openat64)(int, const char*, int, ...);
static int (*real_close)(int);
static ssize_t (*real_read)(int, void*, size_t);
static ssize_t (*real_pread)(int, void*, size_t, off_t);
static ssize_t (*real_pread64)(int, void*, size_t, off64_t);
static ssize_t (*real_copy_file_range)(int, off64_t*, int, off64_t*, size_t, unsigned int);
static ssize_t (*real_readv)(int, const struct iovec*, int);

static void Init(void) {
    real_open = dlsym(RTLD_NEXT, "open");
    real_open64 = dlsym(RTLD_NEXT, "open64");
    real_openat = dlsym(RTLD_NEXT, "openat");
    real_openat64 = dlsym(RTLD_NEXT, "openat64");
    real_close = dlsym(RTLD_NEXT, "close");
    real_read = dlsym(RTLD_NEXT, "read");
    real_pread = dlsym(RTLD_NEXT, "pread");
    real_pread64 = dlsym(RTLD_NEXT, "pread64");
    real_copy_file_range = dlsym(RTLD_NEXT, "copy_file_range");
    real_readv = dlsym(RTLD_NEXT, "readv");
    const char* dir = getenv("VELTRIX_SLOW_CARD_DIR");
    if (dir && *dir && realpath(dir, s_dir)) s_dirLen = strlen(s_dir);
    const char* mbps = getenv("VELTRIX_SLOW_CARD_MBPS");
    const double rate = mbps && atof(mbps) > 0 ? atof(mbps) : 30.0;
    s_bytesPerNs = rate * 1e6 / 1e9;
    double seekMin = 1, seekMax = 3;
    const char* seek = getenv("VELTRIX_SLOW_CARD_SEEK_MS");
    if (seek && sscanf(seek, "%lf-%lf", &seekMin, &seekMax) == 1) seekMax = seekMin;
    if (seekMax < seekMin) seekMax = seekMin;
    s_seekMinNs = (long)(seekMin * 1e6);
    s_seekMaxNs = (long)(seekMax * 1e6);
    const char* hang = getenv("VELTRIX_SLOW_CARD_HANG_FLAG");
    if (hang && *hang && strlen(hang) < sizeof s_hangFlag) strcpy(s_hangFlag, hang);
}

static void Ready(void) {
    pthread_once(&s_once, Init);
}

static int Slow(int fd) {
    return fd >= 0 && fd < MAX_FDS && s_slow[fd];
}

/* Whether the open descriptor names a file below the card's folder (its real path). */
static int BelowCard(int fd) {
    if (s_dirLen == 0) return 0;
    char link[64], path[PATH_MAX];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, sizeof path - 1);
    if (n <= 0) return 0;
    path[n] = 0;
    return strncmp(path, s_dir, s_dirLen) == 0 && (path[s_dirLen] == '/' || path[s_dirLen] == 0);
}

static void WhileHung(void) {
    while (s_hangFlag[0] && access(s_hangFlag, F_OK) == 0)
        usleep(10000);
}

static int Opened(int fd) {
    if (fd >= 0 && fd < MAX_FDS) {
        const int slow = BelowCard(fd);
        s_slow[fd] = (unsigned char)slow;
        s_nextOffset[fd] = -1;
        if (slow) {
            ++s_opens;
            WhileHung();
        }
    }
    return fd;
}

static long SeekNs(void) {
    /* xorshift: the seek times vary from read to read, reproducibly */
    uint64_t x = s_seed;
    x ^= x << 13, x ^= x >> 7, x ^= x << 17;
    s_seed = x;
    const long span = s_seekMaxNs - s_seekMinNs;
    return s_seekMinNs + (span > 0 ? (long)(x % (uint64_t)(span + 1)) : 0);
}

/* Makes the caller wait for the card to have delivered `bytes` read at `offset` of `fd`. */
static void Charge(int fd, long long offset, size_t bytes) {
    const int seek = offset < 0 || s_nextOffset[fd] != offset;
    if (offset >= 0) s_nextOffset[fd] = offset + (long long)bytes;
    ++s_reads;
    s_bytes += bytes;
    if (seek) ++s_seeks;
    long cost = (long)((double)bytes / s_bytesPerNs) + (seek ? SeekNs() : 0);
    struct timespec now, done;
    clock_gettime(CLOCK_MONOTONIC, &now);
    pthread_mutex_lock(&s_card);
    if (s_cardFree.tv_sec < now.tv_sec || (s_cardFree.tv_sec == now.tv_sec && s_cardFree.tv_nsec < now.tv_nsec))
        s_cardFree = now;
    s_cardFree.tv_nsec += cost % 1000000000L;
    s_cardFree.tv_sec += cost / 1000000000L;
    if (s_cardFree.tv_nsec >= 1000000000L) {
        s_cardFree.tv_nsec -= 1000000000L;
        ++s_cardFree.tv_sec;
    }
    done = s_cardFree;
    pthread_mutex_unlock(&s_card);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &done, NULL) == EINTR) {
    }
}

void veltrix_slow_card_counts(uint64_t* reads, uint64_t* bytes, uint64_t* seeks, uint64_t* opens) {
    if (reads) *reads = s_reads;
    if (bytes) *bytes = s_bytes;
    if (seeks) *seeks = s_seeks;
    if (opens) *opens = s_opens;
}

__attribute__((destructor)) static void Report(void) {
    if (getenv("VELTRIX_SLOW_CARD_REPORT"))
        fprintf(stderr, "slow card: %llu opens, %llu reads, %llu bytes, %llu seeks\n",
                (unsigned long long)s_opens, (unsigned long long)s_reads, (unsigned long long)s_bytes,
                (unsigned long long)s_seeks);
}

static mode_t ModeArg(int flags, va_list ap) {
    return (flags & O_CREAT) || (flags & __O_TMPFILE) == __O_TMPFILE ? va_arg(ap, mode_t) : 0;
}

int open(const char* path, int flags, ...) {
    Ready();
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = ModeArg(flags, ap);
    va_end(ap);
    return Opened(real_open(path, flags, mode));
}

int open64(const char* path, int flags, ...) {
    Ready();
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = ModeArg(flags, ap);
    va_end(ap);
    return Opened(real_open64(path, flags, mode));
}

int openat(int dirfd, const char* path, int flags, ...) {
    Ready();
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = ModeArg(flags, ap);
    va_end(ap);
    return Opened(real_openat(dirfd, path, flags, mode));
}

int openat64(int dirfd, const char* path, int flags, ...) {
    Ready();
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = ModeArg(flags, ap);
    va_end(ap);
    return Opened(real_openat64(dirfd, path, flags, mode));
}

int __open_2(const char* path, int flags) {
    Ready();
    return Opened(real_open(path, flags, 0));
}

int __open64_2(const char* path, int flags) {
    Ready();
    return Opened(real_open64(path, flags, 0));
}

int close(int fd) {
    Ready();
    if (fd >= 0 && fd < MAX_FDS) s_slow[fd] = 0;
    return real_close(fd);
}

ssize_t read(int fd, void* buf, size_t count) {
    Ready();
    if (!Slow(fd)) return real_read(fd, buf, count);
    WhileHung();
    const off_t offset = lseek(fd, 0, SEEK_CUR);
    const ssize_t n = real_read(fd, buf, count);
    if (n > 0) Charge(fd, offset, (size_t)n);
    return n;
}

ssize_t __read_chk(int fd, void* buf, size_t count, size_t buflen) {
    (void)buflen;
    return read(fd, buf, count);
}

ssize_t pread(int fd, void* buf, size_t count, off_t offset) {
    Ready();
    if (!Slow(fd)) return real_pread(fd, buf, count, offset);
    WhileHung();
    const ssize_t n = real_pread(fd, buf, count, offset);
    if (n > 0) Charge(fd, offset, (size_t)n);
    return n;
}

ssize_t pread64(int fd, void* buf, size_t count, off64_t offset) {
    Ready();
    if (!Slow(fd)) return real_pread64(fd, buf, count, offset);
    WhileHung();
    const ssize_t n = real_pread64(fd, buf, count, offset);
    if (n > 0) Charge(fd, offset, (size_t)n);
    return n;
}

ssize_t __pread_chk(int fd, void* buf, size_t count, off_t offset, size_t buflen) {
    (void)buflen;
    return pread(fd, buf, count, offset);
}

ssize_t __pread64_chk(int fd, void* buf, size_t count, off64_t offset, size_t buflen) {
    (void)buflen;
    return pread64(fd, buf, count, offset);
}

ssize_t copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset, size_t count, unsigned int flags) {
    Ready();
    if (!Slow(in)) return real_copy_file_range(in, inOffset, out, outOffset, count, flags);
    WhileHung();
    const long long offset = inOffset ? *inOffset : lseek(in, 0, SEEK_CUR);
    const ssize_t n = real_copy_file_range(in, inOffset, out, outOffset, count, flags);
    if (n > 0) Charge(in, offset, (size_t)n);
    return n;
}

/* libVLC's file access reads through readv. */
ssize_t readv(int fd, const struct iovec* iov, int count) {
    Ready();
    if (!Slow(fd)) return real_readv(fd, iov, count);
    WhileHung();
    const off_t offset = lseek(fd, 0, SEEK_CUR);
    const ssize_t n = real_readv(fd, iov, count);
    if (n > 0) Charge(fd, offset, (size_t)n);
    return n;
}
