#pragma once

#include "RZ470Api.h"

#include <cstddef>
#include <utility>

namespace rz470 {

namespace detail {
template <typename Pick, typename Call, size_t... Channel>
auto SpreadChannels(Pick&& pick, Call&& call, std::index_sequence<Channel...>) {
    return call(pick(Channel)...);
}
}  // namespace detail

// The library takes one argument per channel 1..9: call(pick(0), …, pick(8)).
template <typename Pick, typename Call>
auto ForNineChannels(Pick&& pick, Call&& call) {
    return detail::SpreadChannels(pick, call, std::make_index_sequence<kChannelCount>{});
}

}  // namespace rz470
