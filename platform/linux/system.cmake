# The Linux desktop: POSIX files and signals, glibc's heap, and the frames of
# the two window systems, X11 (x11/) and Wayland (wayland/), which are read
# and asked directly.
target_sources(vargorin_platform PRIVATE
  linux/x11/exactsize.h linux/x11/exactsize.cpp
  linux/x11/framecentring.h linux/x11/framecentring.cpp
  linux/wayland/serverdecorations.h linux/wayland/serverdecorations.cpp
  linux/wayland/unmaximisable.h linux/wayland/unmaximisable.cpp
)
find_package(PkgConfig REQUIRED)
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
pkg_check_modules(WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)
target_link_libraries(vargorin_platform PRIVATE PkgConfig::XCB PkgConfig::WAYLAND_CLIENT)
