// State that single routines keep from one call to the next (remembered
// pen positions, dash phase, cursors, tables built on first use). Each
// group of routines keeps its own small struct here; Core holds one of
// each, so a fresh Core starts every routine afresh.
#pragma once

#include "core/arrays.h"

namespace veskaro {

// Card fields and texts.
struct FieldState {};

// Curve and point-set readers.
struct DataFileState {};

// Parameter cards and listing.
struct CardState {};

// Frame layout and plot cells.
struct LayoutState {};

// Page transform and line primitives.
struct TransformState {};

// Stroke fonts.
struct FontState {};

// Data limits, ratio data, rounding, units, legend placement.
struct LimitState {};

// Frame annotation, ticks, grids, curves, point sets.
struct DrawState {};

// Option menu.
struct MenuState {};

struct RoutineState {
  FieldState fields;
  DataFileState datafiles;
  CardState cards;
  LayoutState layout;
  TransformState transform;
  FontState fonts;
  LimitState limits;
  DrawState draw;
  MenuState menu;
};

}  // namespace veskaro
