// The floor of reading an exam: every ticket folder of it listed once and every file in it
// opened, read to its end and closed, with nothing else done: the least any reader of the
// whole exam does. benchmarks/export.sh times `proveron export` against it.
//   read-exam EXAM_FOLDER
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

static long long readFolder(const char* folder, int depth) {
    DIR* listing = opendir(folder);
    if (!listing) return 0;
    long long total = 0;
    char path[4096];
    char buffer[65536];
    for (struct dirent* entry; (entry = readdir(listing));) {
        if (entry->d_name[0] == '.') continue;
        snprintf(path, sizeof path, "%s/%s", folder, entry->d_name);
        if (entry->d_type == DT_DIR) {
            if (depth == 0) total += readFolder(path, 1);
            continue;
        }
        const int fd = open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;)
            total += got;
        close(fd);
    }
    closedir(listing);
    return total;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s EXAM_FOLDER\n", argv[0]);
        return 2;
    }
    printf("%lld bytes\n", readFolder(argv[1], 0));
    return 0;
}
