# Windows: the module's own resources, wide file names and share modes, the
# session's end and the regional settings' change as window messages, and
# the shell's "open" verb.
target_sources(vargorin_platform PRIVATE windows/widename.h)
target_link_libraries(vargorin_platform PRIVATE shell32)
