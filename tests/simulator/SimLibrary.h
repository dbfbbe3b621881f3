// The simulated device library loaded into the test process, with one typed pointer per entry
// point and helpers for its control command.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <array>
#include <utility>

#include "RZ470Api.h"
#include "RZ470Sim.h"

struct SimApi {
#define SIM_TEST_POINTER(name, ret, params) RZ470_##name##_t name = nullptr;
    RZ470_ENTRY_POINTS(SIM_TEST_POINTER)
#undef SIM_TEST_POINTER
    RZ470Sim_Command_t command = nullptr;
};

class SimLibrary {
public:
    // Loads the library once per process; it stays loaded, as it does in the panel.
    bool load(const QString& path, QString& error);

    const SimApi& api() const { return api_; }
    QString run(const QString& command) const;
    // The `status` lines as key → value.
    QMap<QString, QString> status() const;

private:
    void* handle_ = nullptr;
    SimApi api_;
};

// Calls an entry point that takes nine per-channel arguments from an array, plus any trailing ones.
template <typename F, typename T, size_t... I, typename... Rest>
int callSpread(F f, RZ470Word dev, const std::array<T, 9>& values, std::index_sequence<I...>, Rest... rest) {
    return f(dev, values[I]..., rest...);
}

template <typename F, typename T, typename... Rest>
int call9(F f, RZ470Word dev, const std::array<T, 9>& values, Rest... rest) {
    return callSpread(f, dev, values, std::make_index_sequence<9>{}, rest...);
}

// The exported dynamic symbols the file defines, read from its symbol table.
QStringList definedDynamicSymbols(const QString& path, QString& error);

// File version (major << 16 | minor) from the library's version note, 0 when there is none.
quint32 noteFileVersion(const QString& path);
