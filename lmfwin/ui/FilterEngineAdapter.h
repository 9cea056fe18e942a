#pragma once

// The window's form as the filter library's plain description of the controls, and back.
// The engine builds its filter set from it; the data module stores and loads filters
// through it.

#include "lmfwin/filter/FilterControls.h"
#include "lmfwin/ui/FilterForm.h"

namespace lmf {

// Every control the filter set reads, the file names and the active page included.
lm::FilterControls ControlsOfForm(const FilterForm& form);
// The filter part of the controls (name, options, values, grids, joins, expressions);
// file names, page and report settings keep the form's defaults.
FilterForm FormOfControls(const lm::FilterControls& controls);

} // namespace lmf
