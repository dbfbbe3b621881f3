// Places the library's fixed file information in an ELF note, where the panel reads it before
// loading the file. Use once per library, at namespace scope:
//   RZ470_VERSION_NOTE(1, 2, 0, 0)   (no semicolon needed)
#pragma once

#define RZ470_NOTE_STR2(x) #x
#define RZ470_NOTE_STR(x) RZ470_NOTE_STR2(x)

#if defined(__ELF__)
// Note layout: namesz, descsz, type, "RZ470\0" padded to 4, then the 52-byte block.
#define RZ470_VERSION_NOTE(MAJOR, MINOR, BUILD, REVISION) \
    __asm__(".pushsection .note.rz470.version,\"a\",@note\n"                                 \
            ".balign 4\n"                                                                    \
            ".long 6\n"                                                                      \
            ".long 52\n"                                                                     \
            ".long 1\n"                                                                      \
            ".asciz \"RZ470\"\n"                                                             \
            ".balign 4\n"                                                                    \
            ".long 0xFEEF04BD\n"                                                             \
            ".long 0x00010000\n"                                                             \
            ".long ((" RZ470_NOTE_STR(MAJOR) ") << 16) | (" RZ470_NOTE_STR(MINOR) ")\n"      \
            ".long ((" RZ470_NOTE_STR(BUILD) ") << 16) | (" RZ470_NOTE_STR(REVISION) ")\n"   \
            ".long ((" RZ470_NOTE_STR(MAJOR) ") << 16) | (" RZ470_NOTE_STR(MINOR) ")\n"      \
            ".long ((" RZ470_NOTE_STR(BUILD) ") << 16) | (" RZ470_NOTE_STR(REVISION) ")\n"   \
            ".long 0x3F\n"                                                                   \
            ".long 0\n"                                                                      \
            ".long 0x40004\n"                                                                \
            ".long 2\n"                                                                      \
            ".long 0\n"                                                                      \
            ".long 0\n"                                                                      \
            ".long 0\n"                                                                      \
            ".popsection\n");
#else
// Elsewhere the version comes from a version resource compiled with the library.
#define RZ470_VERSION_NOTE(MAJOR, MINOR, BUILD, REVISION)
#endif
