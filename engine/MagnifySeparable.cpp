// The magnify kernel's bilinear pass taken apart (MagnifyRows.h): the cells of every
// column found once, the blends along each source row once, and each destination row
// blended across the two source rows it falls between. Written once on Highway and
// compiled for every target the build keeps (engine/CMakeLists.txt); the blends are those
// of the shared resample rows (AffineResampleVectors-inl.h), so every byte is the plain
// bilinear pass's. Columns past the last whole vector are the plain row's own.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/MagnifySeparable.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include <vector>

#include "engine/AffineResampleVectors-inl.h"
#include "engine/BilinearSample.h"
#include "engine/MagnifyRows.h"

HWY_BEFORE_NAMESPACE();
namespace quillon::magnify::HWY_NAMESPACE {
#if HWY_TARGET == HWY_SCALAR
// Highway's one-lane fallback has no vector rows (AffineResampleVectors-inl.h): the pass
// goes pixel by pixel.
void separableRows(const PlaneView& planes, const AxisMap& columns, const AxisMap& rows,
                   std::uint32_t background) {
    bilinearPass(planes, columns, rows, background);
}
#else
namespace {
namespace hn = hwy::HWY_NAMESPACE;
using namespace resample::HWY_NAMESPACE;

// Columns go in groups of one vector of pixels. Each group keeps three vectors of whole
// numbers among the cells (the lower pixel's index in its row, the fraction past it times
// 2^23, all ones where the pair lies inside the row) and three in a row's blends (blue,
// green and red of each column along the row, times 2^23).
std::size_t groupWords() {
    return 3 * pixelLanes();
}

void columnCells(const AxisMap& columns, std::int32_t width, std::size_t groups,
                 std::int32_t* cells) {
    const D64 d;
    const DInts di;
    const std::size_t n = pixelLanes();
    const LineTerms terms = lineTerms({columns.centre, columns.step, 0.0, 0.0, 0.0, 0.0});
    const V64 halfStep = hn::Set(d, double(hn::Lanes(d)));
    V64 x = hn::Iota(d, 1.0);
    for (std::size_t group = 0; group < groups; ++group, cells += groupWords()) {
        const V64 upper = hn::Add(x, halfStep);
        const Cells c =
            cellsAlong(sourcePoints<false>(terms, x).x, sourcePoints<false>(terms, upper).x, width);
        hn::StoreU(hn::IfThenElseZero(c.inside, c.lower), di, cells);
        hn::StoreU(hn::IfThenElseZero(c.inside, times2p23(c)), di, cells + n);
        hn::StoreU(hn::VecFromMask(di, c.inside), di, cells + 2 * n);
        x = hn::Add(upper, halfStep);
    }
}

// Every column's blend along one source row; nothing is read for cells outside.
void blendAlongRow(const std::uint8_t* sourceRow, const std::int32_t* cells, std::size_t groups,
                   std::int32_t* blends) {
    const DInts di;
    const std::size_t n = pixelLanes();
    const VWords zero = hn::Zero(DWords());
    for (std::size_t group = 0; group < groups; ++group) {
        const std::int32_t* c = cells + group * groupWords();
        std::int32_t* b = blends + group * groupWords();
        const VInts index = hn::LoadU(di, c), dx23 = hn::LoadU(di, c + n);
        const MInts inside = hn::MaskFromVec(hn::LoadU(di, c + 2 * n));
        const VWords s0 = gatherPixels(sourceRow, index, inside, zero);
        const VWords s1 = gatherPixels(sourceRow, hn::Add(index, hn::Set(di, 1)), inside, zero);
        hn::StoreU(alongRow(channel<0>(s0), channel<0>(s1), dx23), di, b);
        hn::StoreU(alongRow(channel<1>(s0), channel<1>(s1), dx23), di, b + n);
        hn::StoreU(alongRow(channel<2>(s0), channel<2>(s1), dx23), di, b + 2 * n);
    }
}

// The destination row between two source rows whose blends are given, `rowFraction` past
// the lower one; the background where a column's pair lies outside.
void blendAcrossRows(const std::int32_t* lower, const std::int32_t* upper,
                     const std::int32_t* cells, std::size_t groups, float rowFraction,
                     std::uint32_t background, std::uint8_t* destination) {
    const DInts di;
    const DWords dw;
    const std::size_t n = pixelLanes();
    const V64 dy = hn::Set(D64(), double(rowFraction));
    const VWords outside = hn::Set(dw, background);
    for (std::size_t group = 0; group < groups; ++group) {
        const std::size_t at = group * groupWords();
        auto low = hn::Zero(DPairs()), high = hn::Zero(DPairs());
        acrossRowsChannel<0>(hn::LoadU(di, lower + at), hn::LoadU(di, upper + at), dy, dy, low,
                             high);
        acrossRowsChannel<1>(hn::LoadU(di, lower + at + n), hn::LoadU(di, upper + at + n), dy, dy,
                             low, high);
        acrossRowsChannel<2>(hn::LoadU(di, lower + at + 2 * n), hn::LoadU(di, upper + at + 2 * n),
                             dy, dy, low, high);
        const auto inside = hn::MaskFromVec(hn::BitCast(dw, hn::LoadU(di, cells + at + 2 * n)));
        storeColour(destination + 4 * n * group,
                    hn::IfThenElse(inside, joinedWords(low, high), outside));
    }
}

// The blends along source rows, each computed once and kept while destination rows between
// it and a neighbour still need it.
class RowBlends {
public:
    RowBlends(const PlaneView& planes, const std::int32_t* cells, std::size_t groups)
        : planes_(planes), cells_(cells), groups_(groups) {
        for (auto& slot : slots_) slot.resize(groups * groupWords());
    }

    // The blends along source row y; a slot holding row `keep` is not given up for it.
    const std::int32_t* along(std::int32_t y, std::int32_t keep) {
        for (int s = 0; s < 2; ++s)
            if (held_[s] == y) return slots_[s].data();
        const int s = held_[0] == keep ? 1 : 0;
        blendAlongRow(planes_.sourceRow(y), cells_, groups_, slots_[s].data());
        held_[s] = y;
        return slots_[s].data();
    }

private:
    const PlaneView& planes_;
    const std::int32_t* cells_;
    std::size_t groups_;
    std::vector<std::int32_t> slots_[2];
    std::int32_t held_[2] = {0, 0};  // the source row in each slot, 0 for none
};

}  // namespace

void separableRows(const PlaneView& planes, const AxisMap& columns, const AxisMap& rows,
                   std::uint32_t background) {
    const std::int32_t w = planes.width, h = planes.height;
    const std::size_t groups = std::size_t(w) / pixelLanes();
    const auto grouped = std::int32_t(groups * pixelLanes());
    std::vector<std::int32_t> cells(groups * groupWords());
    columnCells(columns, w, groups, cells.data());
    RowBlends blends(planes, cells.data(), groups);
    for (std::int32_t y = 1; y <= h; ++y) {
        std::uint8_t* out = planes.targetRow(y);
        const auto row = blendCellAlong(rows.at(y), std::uint32_t(h));
        if (!row) {
            fillRow(out, w, background);
            continue;
        }
        if (groups > 0) {
            blendAcrossRows(blends.along(row->lower, row->lower + 1),
                            blends.along(row->lower + 1, row->lower), cells.data(), groups,
                            float(row->fraction), background, out);
        }
        resample::resampleRowPlain(
            magnifiedRow(planes, columns, row->lower, true, float(row->fraction), background),
            out + columnOffset(grouped + 1), grouped + 1, w);
    }
}
#endif

}  // namespace quillon::magnify::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quillon::magnify {

HWY_EXPORT(separableRows);

void separableBilinearPass(const PlaneView& planes, const AxisMap& columns, const AxisMap& rows,
                           std::uint32_t background) {
    HWY_DYNAMIC_DISPATCH(separableRows)(planes, columns, rows, background);
}

}  // namespace quillon::magnify
#endif
