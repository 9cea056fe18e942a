#pragma once

// A filter as the database stores it and as the window's controls describe it. The window
// and lmtool both load and store filters through these two functions, so a filter typed in
// one opens the same in the other.

#include "lmdata/AFilterDatabase.h"
#include "lmfwin/filter/AFilter.h"
#include "lmfwin/filter/FilterControls.h"

namespace lm {

// The most data rows a loaded grid gets from the record numbers of its rows; rows numbered
// beyond it (a damaged table) are left out rather than allocating a huge grid.
inline constexpr int kMaxLoadedGridRows = 10000;

// The controls of a stored filter (the window's "Open"): every grid cleared first, then the
// header fields and the stored rows placed at their record numbers. Numbers become decimal
// texts with the format's separator (0: the user's); empty MPT/LOCK/Forward/Back stay empty.
// Source and destination are not stored and keep their defaults; "Delete TR" stays not given
// for a filter stored without it.
FilterControls ControlsFromStoredFilter(const StoredFilter& stored, FilterNumberFormat format = {});

// The filter to store for these controls (the window's "Insert"/"Update"). Expects controls
// that build a valid AFilter: MPT and LOCK are stored only for events, Forward and Back only
// for mechanic; a window's rows only when its row 1 names a parameter; expressions only when
// not empty. The header's FID and date are left to the database.
StoredFilter StoredFilterFromControls(const FilterControls& controls, FilterNumberFormat format = {});

} // namespace lm
