// A pointer device for a wlroots compositor that has none (a headless one), driven from
// standard input, one command a line:
//   move X Y      puts the pointer at (X, Y) in logical pixels of the output
//   press N       presses button N (1 left, 2 middle, 3 right)
//   release N
// Prints "ready" once the device exists and "ok" after each command has reached the
// compositor. The device lives as long as this program: the compositor then offers a
// pointer to its clients.
//   virtual_pointer WIDTH HEIGHT
#include "virtual-pointer-client-protocol.h"

#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

static struct zwlr_virtual_pointer_manager_v1* manager;

static void global(void* data, struct wl_registry* registry, uint32_t name,
                   const char* interface, uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

static uint32_t now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

static uint32_t button_code(int n) {
    return n == 3 ? BTN_RIGHT : n == 2 ? BTN_MIDDLE : BTN_LEFT;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: virtual_pointer WIDTH HEIGHT\n");
        return 2;
    }
    const uint32_t width = (uint32_t)atoi(argv[1]), height = (uint32_t)atoi(argv[2]);
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "virtual_pointer: no Wayland display\n");
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!manager) {
        fprintf(stderr, "virtual_pointer: the compositor offers no virtual pointer\n");
        return 1;
    }
    struct zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, NULL);
    wl_display_roundtrip(display);
    printf("ready\n");
    fflush(stdout);

    char line[128];
    while (fgets(line, sizeof line, stdin)) {
        int x, y, n;
        if (sscanf(line, "move %d %d", &x, &y) == 2)
            zwlr_virtual_pointer_v1_motion_absolute(pointer, now_ms(), (uint32_t)x, (uint32_t)y,
                                                    width, height);
        else if (sscanf(line, "press %d", &n) == 1)
            zwlr_virtual_pointer_v1_button(pointer, now_ms(), button_code(n),
                                           WL_POINTER_BUTTON_STATE_PRESSED);
        else if (sscanf(line, "release %d", &n) == 1)
            zwlr_virtual_pointer_v1_button(pointer, now_ms(), button_code(n),
                                           WL_POINTER_BUTTON_STATE_RELEASED);
        else {
            fprintf(stderr, "virtual_pointer: unknown command %s", line);
            continue;
        }
        zwlr_virtual_pointer_v1_frame(pointer);
        if (wl_display_roundtrip(display) < 0)
            return 1;
        printf("ok\n");
        fflush(stdout);
    }
    wl_display_disconnect(display);
    return 0;
}
