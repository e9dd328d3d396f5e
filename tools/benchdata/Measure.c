// iwvestra-measure: runs a program and prints, as the process that started
// it sees them, its wall time and its CPU time (user + sys) in microseconds
// and its peak resident memory in KiB:
//
//   iwvestra-measure [--realtime] [--stdout FILE] PROGRAM [ARGUMENT...]
//   -> WALL_US CPU_US PEAK_KIB
//
// The clock starts right before the program is started and stops when wait4
// has reaped it, so nothing of the bench's own (a shell, date, the removal of
// an earlier output) counts. The program's output goes to FILE, created or
// truncated, or else nowhere.
//
// --realtime runs the program, and this process, under the FIFO real-time
// policy: on a machine shared with builds, the program then waits for no
// other one to give up a processor, and its wall time is its own. The
// kernel still keeps a share of each second for everything else.

#define _GNU_SOURCE
#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <stdio.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

extern char** environ;

static long long Microseconds(struct timeval time) { return time.tv_sec * 1000000LL + time.tv_usec; }

int main(int argc, char** argv) {
    int first = 1;
    const char* output = "/dev/null";
    if (first < argc && strcmp(argv[first], "--realtime") == 0) {
        const struct sched_param priority = {.sched_priority = 10};
        if (sched_setscheduler(0, SCHED_FIFO, &priority) != 0) {
            perror("iwvestra-measure: real-time policy");
            return 1;
        }
        ++first;
    }
    if (first + 2 < argc && strcmp(argv[first], "--stdout") == 0) {
        output = argv[first + 1];
        first += 2;
    }
    if (first >= argc || argv[first][0] == '-') {
        fputs("usage: iwvestra-measure [--realtime] [--stdout FILE] PROGRAM [ARGUMENT...]\n", stderr);
        return 2;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output, O_WRONLY | O_CREAT | O_TRUNC, 0666);

    struct timespec start, stop;
    pid_t child;
    int status;
    struct rusage usage;
    clock_gettime(CLOCK_MONOTONIC, &start);
    const int failed = posix_spawnp(&child, argv[first], &actions, NULL, argv + first, environ);
    if (failed) {
        fprintf(stderr, "iwvestra-measure: cannot start %s: %s\n", argv[first], strerror(failed));
        return 1;
    }
    if (wait4(child, &status, 0, &usage) != child) {
        perror("iwvestra-measure: wait4");
        return 1;
    }
    clock_gettime(CLOCK_MONOTONIC, &stop);

    if (WIFSIGNALED(status)) {
        fprintf(stderr, "iwvestra-measure: %s ended by signal %d\n", argv[first], WTERMSIG(status));
        return 1;
    }
    if (WEXITSTATUS(status) != 0) {
        fprintf(stderr, "iwvestra-measure: %s failed with exit code %d\n", argv[first], WEXITSTATUS(status));
        return 1;
    }
    const long long wall = (stop.tv_sec - start.tv_sec) * 1000000LL + (stop.tv_nsec - start.tv_nsec) / 1000;
    printf("%lld %lld %ld\n", wall, Microseconds(usage.ru_utime) + Microseconds(usage.ru_stime), usage.ru_maxrss);
    return 0;
}
