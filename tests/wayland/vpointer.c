/*
 * A mouse for the headless Wayland session of the tests, through the
 * compositor's virtual pointer (wlroots compositors: sway).
 *
 *   vpointer hold
 *       Adds a pointer and a keyboard to the seat and keeps them there until
 *       the compositor goes away or the process is ended; prints "ready" once
 *       the compositor has them. A headless compositor has no input devices,
 *       so its seat offers clients no wl_pointer and no wl_keyboard at all;
 *       a short-lived device (each run of wtype, each run of the steps
 *       below) would make the seat gain the capability just when its events
 *       are sent, and they would reach the client before it had asked for
 *       the pointer or keyboard that receives them: they would be lost.
 *
 *   vpointer STEP...
 *       move X Y        to a point in the first output's logical pixels
 *       click BUTTON    left, right or middle: pressed and released
 *       press BUTTON / release BUTTON
 *       wheel N         N notches, positive down (towards the user)
 *
 * Every step is confirmed by a round trip before the next one is sent, so
 * when the program ends the compositor has handled all of them.
 */
#define _GNU_SOURCE
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <wayland-client.h>

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

/* From linux/input-event-codes.h, kept here to need no kernel headers. */
enum { BTN_LEFT = 0x110, BTN_RIGHT = 0x111, BTN_MIDDLE = 0x112 };
/* One notch of a wheel, in the units libinput reports for it. */
enum { NOTCH = 15 };

struct state {
    struct wl_seat *seat;
    struct wl_output *output;
    struct zwlr_virtual_pointer_manager_v1 *pointers;
    uint32_t pointers_version;
    struct zwp_virtual_keyboard_manager_v1 *keyboards;
    int32_t mode_width, mode_height, scale;
};

static void die(const char *message)
{
    fprintf(stderr, "vpointer: %s\n", message);
    exit(1);
}

static uint32_t now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

static void output_geometry(void *data, struct wl_output *o, int32_t x, int32_t y, int32_t pw,
                            int32_t ph, int32_t subpixel, const char *make, const char *model,
                            int32_t transform)
{
    (void)data, (void)o, (void)x, (void)y, (void)pw, (void)ph, (void)subpixel, (void)make,
        (void)model, (void)transform;
}

static void output_mode(void *data, struct wl_output *o, uint32_t flags, int32_t w, int32_t h,
                        int32_t refresh)
{
    struct state *s = data;
    (void)o, (void)refresh;
    if (flags & WL_OUTPUT_MODE_CURRENT) {
        s->mode_width = w;
        s->mode_height = h;
    }
}

static void output_done(void *data, struct wl_output *o) { (void)data, (void)o; }

static void output_scale(void *data, struct wl_output *o, int32_t factor)
{
    struct state *s = data;
    (void)o;
    s->scale = factor;
}

/* Bound at version 2 at most, so the later events never come. */
static const struct wl_output_listener output_listener = {
    .geometry = output_geometry, .mode = output_mode, .done = output_done, .scale = output_scale,
};

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
                   uint32_t version)
{
    struct state *s = data;
    if (strcmp(interface, wl_seat_interface.name) == 0 && !s->seat) {
        s->seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    } else if (strcmp(interface, wl_output_interface.name) == 0 && !s->output) {
        s->output = wl_registry_bind(registry, name, &wl_output_interface, version < 2 ? version : 2);
        wl_output_add_listener(s->output, &output_listener, s);
    } else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        s->pointers_version = version < 2 ? version : 2;
        s->pointers = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface,
                                       s->pointers_version);
    } else if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
        s->keyboards = wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
    }
}

static void global_remove(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data, (void)registry, (void)name;
}

static const struct wl_registry_listener registry_listener = {.global = global,
                                                              .global_remove = global_remove};

static struct zwlr_virtual_pointer_v1 *make_pointer(struct state *s)
{
    if (!s->pointers)
        die("the compositor offers no zwlr_virtual_pointer_manager_v1");
    /* Tied to the output, absolute positions are that output's pixels even
     * where the layout holds more than one. */
    if (s->pointers_version >= 2 && s->output)
        return zwlr_virtual_pointer_manager_v1_create_virtual_pointer_with_output(s->pointers, s->seat,
                                                                                  s->output);
    return zwlr_virtual_pointer_manager_v1_create_virtual_pointer(s->pointers, s->seat);
}

/* The smallest keymap that compiles: the held keyboard never types, it only
 * keeps the seat's keyboard capability; wtype brings its own keymap with
 * every run and the compositor hands that to the client before the keys. */
static const char held_keymap[] =
    "xkb_keymap {\n"
    "  xkb_keycodes \"held\" { minimum = 8; maximum = 255; <ESC> = 9; };\n"
    "  xkb_types \"held\" { include \"complete\" };\n"
    "  xkb_compatibility \"held\" { include \"complete\" };\n"
    "  xkb_symbols \"held\" { key <ESC> { [ Escape ] }; };\n"
    "};\n";

static void make_keyboard(struct state *s)
{
    if (!s->keyboards) {
        fprintf(stderr, "vpointer: no zwp_virtual_keyboard_manager_v1: holding the pointer alone\n");
        return;
    }
    struct zwp_virtual_keyboard_v1 *keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(s->keyboards, s->seat);
    int fd = memfd_create("held-keymap", MFD_CLOEXEC);
    if (fd < 0 || write(fd, held_keymap, sizeof held_keymap) != (ssize_t)sizeof held_keymap)
        die("cannot write the keymap");
    zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, sizeof held_keymap);
    close(fd);
}

static uint32_t button_code(const char *name)
{
    if (strcmp(name, "left") == 0)
        return BTN_LEFT;
    if (strcmp(name, "right") == 0)
        return BTN_RIGHT;
    if (strcmp(name, "middle") == 0)
        return BTN_MIDDLE;
    die("a button is left, right or middle");
    return 0;
}

static void button(struct zwlr_virtual_pointer_v1 *p, uint32_t code, int pressed)
{
    zwlr_virtual_pointer_v1_button(p, now_ms(), code,
                                   pressed ? WL_POINTER_BUTTON_STATE_PRESSED
                                           : WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(p);
}

static int number(const char *text)
{
    char *end;
    long value = strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0')
        die("a coordinate or notch count is a whole number");
    return (int)value;
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: vpointer hold | vpointer STEP...\n"
                        "steps: move X Y, click|press|release left|right|middle, wheel N\n");
        return 2;
    }
    struct wl_display *display = wl_display_connect(NULL);
    if (!display)
        die("cannot connect to the Wayland display");
    struct state s = {.scale = 1};
    struct wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, &s);
    wl_display_roundtrip(display); /* the globals */
    wl_display_roundtrip(display); /* the output's mode and scale */

    struct zwlr_virtual_pointer_v1 *p = make_pointer(&s);

    if (strcmp(argv[1], "hold") == 0) {
        make_keyboard(&s);
        if (wl_display_roundtrip(display) < 0)
            die("the compositor refused the devices");
        printf("ready\n");
        fflush(stdout);
        while (wl_display_dispatch(display) != -1) {
        }
        return 0;
    }

    for (int i = 1; i < argc; ++i) {
        const char *step = argv[i];
        if (strcmp(step, "move") == 0 && i + 2 < argc) {
            if (s.mode_width <= 0 || s.mode_height <= 0)
                die("the output told no size");
            const int width = s.mode_width / s.scale, height = s.mode_height / s.scale;
            const int x = number(argv[i + 1]), y = number(argv[i + 2]);
            if (x < 0 || y < 0 || x >= width || y >= height)
                die("the point is outside the output");
            zwlr_virtual_pointer_v1_motion_absolute(p, now_ms(), (uint32_t)x, (uint32_t)y,
                                                    (uint32_t)width, (uint32_t)height);
            zwlr_virtual_pointer_v1_frame(p);
            i += 2;
        } else if (strcmp(step, "click") == 0 && i + 1 < argc) {
            const uint32_t code = button_code(argv[++i]);
            button(p, code, 1);
            wl_display_roundtrip(display);
            button(p, code, 0);
        } else if ((strcmp(step, "press") == 0 || strcmp(step, "release") == 0) && i + 1 < argc) {
            button(p, button_code(argv[i + 1]), step[0] == 'p');
            ++i;
        } else if (strcmp(step, "wheel") == 0 && i + 1 < argc) {
            const int notches = number(argv[++i]);
            zwlr_virtual_pointer_v1_axis_source(p, WL_POINTER_AXIS_SOURCE_WHEEL);
            zwlr_virtual_pointer_v1_axis_discrete(p, now_ms(), WL_POINTER_AXIS_VERTICAL_SCROLL,
                                                  wl_fixed_from_int(notches * NOTCH), notches);
            zwlr_virtual_pointer_v1_frame(p);
        } else {
            fprintf(stderr, "vpointer: cannot read the step '%s'\n", step);
            return 2;
        }
        if (wl_display_roundtrip(display) < 0)
            die("the compositor refused a step");
    }
    zwlr_virtual_pointer_v1_destroy(p);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
