// Decoding of the parameter cards: the layout card, the control card, the
// two axis-label cards and the X and Y cards of each plot. Each routine
// takes the card as read (any length) and leaves the normalised values in
// the core's blocks; the driver writes the listing records between them.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/core.h"

namespace veskaro {

// Columns of a whole axis label: label part (40) + " (" + units (32) + ")".
constexpr int kLabelField = 75;

// Ratio subplot limits by row: {low, high}, single-precision constants.
double ratab_low(int row);
double ratab_high(int row);

// The card cut to `ncol` columns, blank-padded when shorter.
std::string card_columns(std::string_view rec, int ncol);

// Cuts the six 11-column fields of a numeric card into FIELD. The tail
// (columns 67-70) is returned as an 11-column field behind 7 blanks.
std::string cut_fields(Core& c, std::string_view rec);

// Layout card: fields parsed, size multiplier, overlay, rotation, page
// defaults and counts normalised. The exchange of x and y for a rotated
// page is left to the driver, after the listing and layout comparison.
void layout_card(Core& c, std::string_view rec);

// Control card in two steps: parsing (after which the driver clips the
// counts of data in memory), then clamping and the derived settings.
void control_card_parse(Core& c, std::string_view rec);
void control_card_normalise(Core& c);

// The two axis-label cards: label and units left-justified and combined.
void label_cards(Core& c, std::string_view xrec, std::string_view yrec);

// X and Y cards of a plot.
void x_card(Core& c, std::string_view rec);
void y_card(Core& c, std::string_view rec);

}  // namespace veskaro
