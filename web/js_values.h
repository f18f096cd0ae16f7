#pragma once

// Plain values as the page's script receives them.

#include <emscripten/val.h>

#include "geometry.h"

namespace tanabashigo {

/// A JavaScript array of `toJs(item)` for each of `items`, in order.
template <class Items, class ToJs>
emscripten::val jsArray(const Items& items, ToJs toJs) {
    emscripten::val list = emscripten::val::array();
    for (const auto& item : items) {
        list.call<void>("push", toJs(item));
    }
    return list;
}

/// A JavaScript array of numbers: counts or chances by column, and the like.
template <class Values>
emscripten::val numberArray(const Values& values) {
    return jsArray(values, [](const auto value) { return static_cast<double>(value); });
}

/// A segment as {x1, y1, x2, y2}.
inline emscripten::val segmentObject(const Segment& s) {
    emscripten::val object = emscripten::val::object();
    object.set("x1", s.x1);
    object.set("y1", s.y1);
    object.set("x2", s.x2);
    object.set("y2", s.y2);
    return object;
}

}  // namespace tanabashigo
