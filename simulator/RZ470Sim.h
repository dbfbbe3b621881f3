// Control of the simulated unit from inside the process that loaded the library (tests), next
// to the 84 entry points of the device library. The command language is in README.md.
#pragma once

#if defined(__GNUC__)
#define RZ470_SIM_API __attribute__((visibility("default")))
#else
#define RZ470_SIM_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Runs one command and returns "ok", "error: <reason>" or the command's output lines. The text
// stays valid until the next call. Null or overlong input is refused like any malformed command.
RZ470_SIM_API const char* RZ470Sim_Command(const char* text);

typedef const char* (*RZ470Sim_Command_t)(const char* text);

#ifdef __cplusplus
}
#endif
