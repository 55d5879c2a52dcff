// Times a program's start from outside, as a person in front of the screen sees it: from the
// moment it is executed until its first top-level window is mapped, and until the program has
// drawn into it. Runs on any X server (Xvfb needs no window manager): it watches the root
// window's children being created and mapped, and asks the server's damage extension to report
// the first drawing into each. Then it ends the program (SIGTERM, SIGKILL after a second).
//
//   window_start_time PROGRAM [ARGUMENTS...]
//
// Prints "mapped MS drawn MS" in milliseconds; exits 1 when no window was drawn within the
// time limit (10 s) or the program ended before.
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

constexpr double kLimitMs = 10000;
constexpr int kMaxWindows = 64;

static double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static pid_t startProgram(char **argv)
{
    const pid_t child = fork();
    if (child == 0) {
        const int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, STDIN_FILENO);
        dup2(devNull, STDOUT_FILENO);
        execvp(argv[0], argv);
        perror(argv[0]);
        _exit(127);
    }
    return child;
}

static void endProgram(pid_t child, bool exited)
{
    if (exited)
        return;
    kill(child, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(child, nullptr, WNOHANG) == child)
            return;
        usleep(10000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

struct Watch {
    xcb_connection_t *connection;
    uint8_t damageEvent;
    xcb_window_t windows[kMaxWindows];
    int windowCount;
    double mappedAt;
    double drawnAt;
};

static void watchNewWindow(struct Watch *watch, const xcb_create_notify_event_t *created)
{
    if (created->override_redirect || watch->windowCount == kMaxWindows)
        return;
    watch->windows[watch->windowCount++] = created->window;
    const xcb_damage_damage_t damage = xcb_generate_id(watch->connection);
    xcb_damage_create(watch->connection, damage, created->window,
                      XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
    xcb_flush(watch->connection);
}

static bool isWatched(const struct Watch *watch, xcb_window_t window)
{
    for (int i = 0; i < watch->windowCount; ++i)
        if (watch->windows[i] == window)
            return true;
    return false;
}

static void handleEvent(struct Watch *watch, const xcb_generic_event_t *event, double now)
{
    const uint8_t type = event->response_type & 0x7f;
    if (type == XCB_CREATE_NOTIFY) {
        watchNewWindow(watch, reinterpret_cast<const xcb_create_notify_event_t *>(event));
    } else if (type == XCB_MAP_NOTIFY) {
        const xcb_map_notify_event_t *mapped =
            reinterpret_cast<const xcb_map_notify_event_t *>(event);
        if (watch->mappedAt < 0 && isWatched(watch, mapped->window))
            watch->mappedAt = now;
    } else if (type == watch->damageEvent + XCB_DAMAGE_NOTIFY) {
        const xcb_damage_notify_event_t *damaged =
            reinterpret_cast<const xcb_damage_notify_event_t *>(event);
        if (watch->mappedAt >= 0 && watch->drawnAt < 0 && isWatched(watch, damaged->drawable))
            watch->drawnAt = now;
    }
}

static bool connectAndListen(struct Watch *watch)
{
    watch->connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(watch->connection)) {
        fprintf(stderr, "window_start_time: no X display\n");
        return false;
    }
    const xcb_query_extension_reply_t *damage =
        xcb_get_extension_data(watch->connection, &xcb_damage_id);
    if (!damage || !damage->present) {
        fprintf(stderr, "window_start_time: the X server has no damage extension\n");
        return false;
    }
    watch->damageEvent = damage->first_event;
    free(xcb_damage_query_version_reply(
        watch->connection, xcb_damage_query_version(watch->connection, 1, 1), nullptr));
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(watch->connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_void_cookie_t cookie = xcb_change_window_attributes_checked(watch->connection, screen->root,
                                                                    XCB_CW_EVENT_MASK, &mask);
    xcb_generic_error_t *error = xcb_request_check(watch->connection, cookie);
    const bool listening = error == nullptr;
    free(error);
    return listening;
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: window_start_time PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    Watch watch{};
    watch.mappedAt = -1;
    watch.drawnAt = -1;
    if (!connectAndListen(&watch))
        return 1;
    const double start = nowMs();
    const pid_t child = startProgram(argv + 1);
    const int fd = xcb_get_file_descriptor(watch.connection);
    bool exited = false;
    while (watch.drawnAt < 0 && nowMs() - start < kLimitMs) {
        xcb_generic_event_t *event;
        while ((event = xcb_poll_for_event(watch.connection)) != nullptr) {
            handleEvent(&watch, event, nowMs());
            free(event);
        }
        if (watch.drawnAt >= 0)
            break;
        if (waitpid(child, nullptr, WNOHANG) == child) {
            exited = true;
            break;
        }
        pollfd ready{};
        ready.fd = fd;
        ready.events = POLLIN;
        poll(&ready, 1, 50);
    }
    const bool drawn = watch.drawnAt >= 0;
    endProgram(child, exited);
    xcb_disconnect(watch.connection);
    if (!drawn) {
        fprintf(stderr, "window_start_time: no window was drawn\n");
        return 1;
    }
    printf("mapped %.1f drawn %.1f\n", watch.mappedAt - start, watch.drawnAt - start);
    return 0;
}
