#pragma once

#include <array>
#include <cstddef>

namespace quillon {

// The three planes of a surface, numbered as the kernels count them and in the order
// they lie in memory from the surface's first byte.
enum class SurfacePlane : int {
    Original = 1,
    Working = 2,
    Undo = 3,
};

inline constexpr std::array kAllPlanes{SurfacePlane::Original, SurfacePlane::Working,
                                       SurfacePlane::Undo};

// How many whole planes lie before the plane's first byte.
constexpr std::size_t planesBefore(SurfacePlane plane) {
    return std::size_t(plane) - 1;
}

}  // namespace quillon
