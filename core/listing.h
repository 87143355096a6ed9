// Writers of the listing records, in the order of a run. Every line the
// driver writes begins with one blank column; labelled lines carry a
// 34-column dotted label and their value from column 36.
#pragma once

#include <string>

#include "core/core.h"

namespace veskaro {

// Value layouts.
// Integer right-justified in `width` columns; asterisks when too wide.
std::string int_field(long long value, int width);
// Fixed point with 3 decimals, right-justified in 12 columns.
std::string mult_field(double value);
// " YES" or " NO ".
std::string answer(bool yes);

// Label of the ratio row `row` (1 to 9), 12 columns.
std::string ratio_label(int row);

void list_heading(Core& c);
void list_layout(Core& c);
void list_control(Core& c);
void list_nothing_requested(Core& c);
void list_labels(Core& c);
void list_titles(Core& c);
void list_x(Core& c);
void list_y(Core& c);
void list_no_data(Core& c);
// Warning for a plot whose axis limits could not be formed from its data.
void list_bad_limits(Core& c);
// The limits block and the tables of curves and point sets shown.
void list_limits(Core& c);
void list_tables(Core& c);
void list_closing(Core& c);

}  // namespace veskaro
