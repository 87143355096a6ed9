#include "core/listing.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "core/cards.h"
#include "tests/card_text.h"
#include "tests/recording_device.h"

namespace veskaro {
namespace {

using test_cards::card;

const std::string kHeavy = " " + std::string(72, '=') + "\n";
const std::string kRuler = " " + std::string(72, '-') + "\n";
const std::string kDotted = " " + std::string(72, '.') + "\n";

class Listing : public ::testing::Test {
 protected:
  Listing() : c(std::make_unique<Core>(dev)) {
    c->files.lst.open_memory();
    c->pg.EDGE(2) = 13.5;
    c->pg.EDGE(4) = static_cast<double>(10.24F);
  }
  // Everything written since the last call.
  std::string written() {
    const std::string& all = c->files.lst.text();
    std::string s = all.substr(taken_);
    taken_ = all.size();
    return s;
  }
  RecordingDevice dev;
  std::unique_ptr<Core> c;

 private:
  std::size_t taken_ = 0;
};

TEST_F(Listing, ValueLayouts) {
  EXPECT_EQ(int_field(-3, 4), "  -3");
  EXPECT_EQ(int_field(123456, 5), "*****");
  EXPECT_EQ(mult_field(0.5), "       0.500");
  for (int row = 1; row <= 9; ++row) EXPECT_EQ(ratio_label(row).size(), 12u);
}

TEST_F(Listing, HeadingLayoutAndControlBlocks) {
  list_heading(*c);
  // A rotated page shows its edges before the exchange.
  layout_card(*c, card({"", "-10"}));
  list_layout(*c);
  EXPECT_EQ(written(),
            kHeavy + " Plot Tabulated Data (VESKARO Version 2025-1)\n" +
                kHeavy + " Description of Plotter and Frame Layout\n" + kRuler +
                " X Dimensions (X-Min to X-Max)..... 0.0        to  10.0000000"
                " Inches\n"
                " Y Dimensions (Y-Min TO Y-Max)..... 0.0        to  10.2399998"
                " Inches\n"
                " Plots per Frame (X by Y)..........           1 by "
                "           1\n"
                " Character Size Multiplier.........       1.000\n" +
                kHeavy);

  control_card_parse(*c, card({"-12", "0", "1", "4", "6", "-3"}));
  control_card_normalise(*c);
  list_control(*c);
  EXPECT_EQ(written(),
            " Read Once. Allow Multiple Plots...   12 Curves\n"
            " Sets of Points per Plot........... NONE\n"
            " Should Border be Plotted.......... YES\n"
            " Type of Grid......................Full/Dashed         \n"
            " Should Ratios be Plotted.......... YES (5 % Max)   \n"
            " Line Thickness....................   3\n");

  // A master curve adds its line and a heavy ruler; without a ratio
  // subplot the label is 12 blanks.
  control_card_parse(*c, card({"7", "-45", "0", "3", "0", "0"}, "  2"));
  control_card_normalise(*c);
  list_control(*c);
  EXPECT_EQ(written(),
            " Read and Plot (for Each Plot).....    7 Curves\n"
            " Read Once. Allow Multiple Plots...   30 Sets of Points\n"
            " Should Border be Plotted.......... NO \n"
            " Type of Grid......................DashEd Grid (Fine)  \n"
            " Should Ratios be Plotted.......... NO " +
                std::string(13, ' ') +
                "\n"
                " Line Thickness....................   0\n"
                " Master Curve (Thick and Solid)....           2\n" +
                kHeavy);

  list_nothing_requested(*c);
  EXPECT_EQ(written(), kRuler +
                           " Neither Curve NOR Discrete Points Requested\n"
                           " Check Your Input Parameters\n"
                           " Executiob Terminated\n");
}

TEST_F(Listing, LabelTitleXAndYBlocks) {
  std::string x(72, ' ');
  x.replace(2, 6, "ENERGY");
  x.replace(41, 3, "MeV");
  label_cards(*c, x, "  Counts");
  list_labels(*c);
  c->lg.STITLE(1) = "   First title" + std::string(58, ' ');
  c->lg.STITLE(2) = std::string(72, ' ');
  list_titles(*c);
  EXPECT_EQ(written(), kRuler +
                           " X Axis Label and Units............ ENERGY (MeV)\n"
                           " Y Axis Label and Units............ Counts\n" +
                           kRuler + " Plot Title\n" + kDotted +
                           "    First title" + std::string(58, ' ') + "\n " +
                           std::string(72, ' ') + "\n" + kRuler);

  x_card(*c, card({"", "4", "0", "-1", "2", "1"}));
  list_x(*c);
  EXPECT_EQ(written(),
            " Requested X Range................. 0.0        to  4.00000000\n"
            " Plot X Error Bars................. NO \n"
            " X Plane on Plots (if Possible)....Linear (0 Base)         \n"
            " Round X Limits.................... Bottom \n"
            " Legend Box on Plot................ NO \n");

  y_card(*c, card({"12.5", "-3", "1", "-2", "3", "1"}));
  list_y(*c);
  EXPECT_EQ(written(),
            kRuler +
                " Requested Y Range.................-3.00000000 to  "
                "12.5000000\n"
                " Plot Y Error Bars................. YES\n"
                " Y Plane on Plots (if Possible)....Log (No Interpolation)  \n"
                " Round Y Limits.................... Top    \n"
                " Show Data Points.................. YES\n");
  x_card(*c, "");
  list_x(*c);
  EXPECT_EQ(written().substr(0, 52),
            " Requested X Range................. Plot All Points\n");
}

TEST_F(Listing, LimitsTablesAndClosing) {
  auto& ax = c->ax;
  ax.XYREAL(1) = 1.5;
  ax.XYREAL(2) = 1.0e-5;
  ax.XYREAL(3) = -0.25;
  ax.XYREAL(4) = 3.0e12;
  ax.WAYS(1) = 1;
  ax.WAYS(2) = 2;
  list_limits(*c);
  // Rows only for curves with points in the window, numbered without gaps.
  c->store->NCURVE = 3;
  c->lg.CTITLE(1) = "Alpha" + std::string(35, ' ');
  c->lg.CTITLE(3) = "Gamma" + std::string(35, ' ');
  c->lg.ONIT(1) = 12;
  c->lg.ONIT(3) = 1234567;
  c->store->NPOINT = 1;
  list_tables(*c);
  c->fb.PLOTN = 7;
  list_closing(*c);
  const std::string header = kDotted + " Index Points Description\n" + kDotted;
  EXPECT_EQ(written(), kRuler +
                           " X Limits (Plane).................. 1.50000000 to "
                           " 1.00000D-5 (Linear)   \n"
                           " Y Limits (Plane)..................-.250000000 to "
                           " 3.0000D+12 (Log)      \n" +
                           kRuler + " Continuous Curves\n" + header +
                           "     1     12 Alpha" + std::string(35, ' ') +
                           "\n     21234567 Gamma" + std::string(35, ' ') +
                           "\n" + kRuler + " Discrete Points\n" + header +
                           kRuler + " End of Run       7 Plots Generated\n");
  c->store->NCURVE = 0;
  c->store->NPOINT = 0;
  list_tables(*c);
  EXPECT_EQ(written(), "");
}

}  // namespace
}  // namespace veskaro
