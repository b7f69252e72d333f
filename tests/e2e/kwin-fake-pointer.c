/* Moves the pointer of a KWin session back and forth every 100 ms until killed, through the
 * org_kde_kwin_fake_input protocol (KWin offers it with KWIN_WAYLAND_NO_PERMISSION_CHECKS=1). */
#include "fake-input-client-protocol.h"

#include <stdio.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

static struct org_kde_kwin_fake_input* fake;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4) {
        fake = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
    }
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data, (void)registry, (void)name;
}

static const struct wl_registry_listener listener = {global, global_remove};

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (display == NULL) {
        perror("kwin-fake-pointer: cannot connect to the Wayland display");
        return 1;
    }
    wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
    wl_display_roundtrip(display);
    if (fake == NULL) {
        fprintf(stderr, "kwin-fake-pointer: no org_kde_kwin_fake_input v4\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(fake, "kirorin tests", "moves the pointer");
    const struct timespec pause = {0, 100000000};
    for (int dx = 5;; dx = -dx) {
        org_kde_kwin_fake_input_pointer_motion(fake, wl_fixed_from_int(dx), wl_fixed_from_int(dx));
        if (wl_display_roundtrip(display) < 0) {
            perror("kwin-fake-pointer: the connection broke");
            return 1;
        }
        nanosleep(&pause, NULL);
    }
}
