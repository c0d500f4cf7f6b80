/* A minimal hidapi client, linked against the real hidapi library and run by
 * the tests with LD_PRELOAD=libq3sim.so.
 *
 *   q3sim_probe enumerate        prints "paths: <path> <path> ..." for 04d9:a1cd
 *   q3sim_probe calls            one of each device call on the command interface
 *   q3sim_probe control <fifo>   drives the simulation through its control FIFO
 *   q3sim_probe serve            stays alive for the q3sim tool: prints "ready"
 *                                once its first hidapi calls (which start the
 *                                control socket and open the event interface)
 *                                are done, then prints every
 *                                event-interface report it reads, until
 *                                "quit" or end of input (at most 30 s);
 *                                "fork" makes a child that exits at once
 */
#include <hidapi.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

enum { VID = 0x04d9, PID = 0xa1cd };

static void listPaths(char *out, size_t size)
{
    struct hid_device_info *devs = hid_enumerate(VID, PID);
    snprintf(out, size, "paths:");
    for (struct hid_device_info *d = devs; d; d = d->next) {
        strncat(out, " ", size - strlen(out) - 1);
        strncat(out, d->path, size - strlen(out) - 1);
    }
    hid_free_enumeration(devs);
}

static void sleepMs(int ms)
{
    struct timespec t = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&t, NULL);
}

/* Polls the enumeration until it reads `expected` (commands are applied
 * asynchronously), then prints it; prints what it last saw on time-out. */
static void awaitPaths(const char *expected)
{
    char paths[512];
    for (int i = 0; i < 500; ++i) {
        listPaths(paths, sizeof paths);
        if (strcmp(paths, expected) == 0)
            break;
        sleepMs(10);
    }
    printf("%s\n", paths);
}

static int sendCommand(int fifo, const char *command)
{
    return write(fifo, command, strlen(command)) == (ssize_t)strlen(command) ? 0 : -1;
}

static void printRead(const char *label, int result, const unsigned char *buf)
{
    printf("%s: %d", label, result);
    for (int i = 0; i < result; ++i)
        printf(" %02x", buf[i]);
    printf("\n");
}

static int control(const char *fifoPath)
{
    int fifo = open(fifoPath, O_WRONLY);
    if (fifo < 0) {
        perror(fifoPath);
        return 1;
    }
    sendCommand(fifo, "unplug\n");
    awaitPaths("paths:");
    sendCommand(fifo, "interfaces event\nplug\n");
    awaitPaths("paths: q3sim:04d9:a1cd:ff02");

    hid_device *dev = hid_open_path("q3sim:04d9:a1cd:ff02");
    if (!dev) {
        printf("open failed\n");
        return 1;
    }
    unsigned char buf[64];
    sendCommand(fifo, "report 01 02 0a ff\n");
    printRead("read", hid_read_timeout(dev, buf, sizeof buf, 5000), buf);
    sendCommand(fifo, "unplug\n");
    printRead("read after unplug", hid_read_timeout(dev, buf, sizeof buf, 5000), buf);
    hid_close(dev);

    sendCommand(fifo, "interfaces both\nplug\nfail-open 1\n");
    awaitPaths("paths: q3sim:04d9:a1cd:ff01 q3sim:04d9:a1cd:ff02");
    dev = hid_open_path("q3sim:04d9:a1cd:ff01");
    printf("first open: %s\n", dev ? "ok" : "failed");
    hid_close(dev);
    dev = hid_open_path("q3sim:04d9:a1cd:ff01");
    printf("second open: %s\n", dev ? "ok" : "failed");
    hid_close(dev);
    close(fifo);
    return 0;
}

static int calls(void)
{
    hid_device *dev = hid_open(VID, PID, NULL);
    if (!dev) {
        printf("open failed\n");
        return 1;
    }
    const unsigned char request[9] = {0x00, 0x05, 1, 2, 3, 4, 5, 6, 7};
    unsigned char answer[9] = {0};
    unsigned char output[65] = {0x00, 0xaa};
    unsigned char input[65];
    hid_send_feature_report(dev, request, sizeof request);
    hid_get_feature_report(dev, answer, sizeof answer);
    hid_write(dev, output, sizeof output);
    hid_read_timeout(dev, input, sizeof input, 0);
    hid_close(dev);
    hid_exit();
    printf("done\n");
    return 0;
}

static int serve(void)
{
    const char *eventPath = "q3sim:04d9:a1cd:ff02";
    hid_init();
    /* Open before "ready": a command that unplugs the keyboard or takes its
     * event interface away must find the interface open, or the read that
     * fails on it never comes. */
    hid_device *dev = hid_open_path(eventPath);
    printf("ready\n");
    for (int i = 0; i < 1500; ++i) {
        struct pollfd input = {0, POLLIN, 0};
        if (poll(&input, 1, 0) > 0) {
            char line[64];
            if (!fgets(line, sizeof line, stdin) || strncmp(line, "quit", 4) == 0)
                break;
            if (strncmp(line, "fork", 4) == 0) {
                const pid_t child = fork();
                if (child == 0)
                    exit(0);
                printf("forked: %d\n", child > 0 && waitpid(child, NULL, 0) == child ? 0 : -1);
            }
        }
        if (!dev && !(dev = hid_open_path(eventPath))) {
            sleepMs(20);
            continue;
        }
        unsigned char buf[65];
        const int result = hid_read_timeout(dev, buf, sizeof buf, 20);
        if (result > 0) {
            printRead("event", result, buf);
        } else if (result < 0) {
            printf("event read failed\n");
            hid_close(dev);
            dev = NULL;
        }
    }
    hid_close(dev);
    printf("bye\n");
    return 0;
}

int main(int argc, char **argv)
{
    setvbuf(stdout, NULL, _IOLBF, 0);
    if (argc >= 2 && strcmp(argv[1], "enumerate") == 0) {
        char paths[512];
        listPaths(paths, sizeof paths);
        printf("%s\n", paths);
        return 0;
    }
    if (argc >= 2 && strcmp(argv[1], "calls") == 0)
        return calls();
    if (argc >= 3 && strcmp(argv[1], "control") == 0)
        return control(argv[2]);
    if (argc >= 2 && strcmp(argv[1], "serve") == 0)
        return serve();
    fprintf(stderr, "usage: %s enumerate | calls | control <fifo> | serve\n", argv[0]);
    return 2;
}
