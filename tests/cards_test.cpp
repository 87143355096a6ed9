#include "core/cards.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "tests/card_text.h"
#include "tests/recording_device.h"

namespace veskaro {
namespace {

using test_cards::card;

class Cards : public ::testing::Test {
 protected:
  Cards() : c(std::make_unique<Core>(dev)) {
    c->files.lst.open_memory();
    c->pg.EDGE(2) = 13.5;
    c->pg.EDGE(4) = static_cast<double>(10.24F);
  }
  RecordingDevice dev;
  std::unique_ptr<Core> c;
};

TEST_F(Cards, LayoutDefaultsClampsRotationAndOverlay) {
  const auto& pg = c->pg;
  layout_card(*c, "");
  EXPECT_EQ(pg.XPMAX, 13.5);
  EXPECT_EQ(pg.YPMAX, 10.239999771118164);
  EXPECT_EQ(pg.NXPLT + pg.NYPLT + pg.IOVER + pg.IROTAT, 2);
  EXPECT_EQ(pg.MULTHT, 1.0);

  layout_card(*c, card({"1", "-10", "2", "8", "-2", "-3"}, "   3"));
  EXPECT_EQ(pg.XPMAX, 10.0);
  EXPECT_EQ(pg.IROTAT, 1);
  EXPECT_EQ(pg.NXPLT, 2);
  EXPECT_EQ(pg.IOVER, 1);
  EXPECT_EQ(pg.NYPLT, 1);
  EXPECT_EQ(pg.MULTHT, 2.0);
  // The tail may stand anywhere in its four columns; column 71 is not read.
  layout_card(*c, card({}, ".2  "));
  EXPECT_EQ(pg.MULTHT, 0.5);
  layout_card(*c, card({}, "  -1"));
  EXPECT_EQ(pg.MULTHT, 1.0);
  layout_card(*c, card({}, "1.259"));
  EXPECT_EQ(pg.MULTHT, 1.25);
}

TEST_F(Cards, ControlCountsGridRatioAndWeight) {
  const auto& cs = c->rs.cards;
  control_card_parse(*c, card({"45", "-45", "3", "7", "12", "-7"}, "  -3"));
  control_card_normalise(*c);
  EXPECT_EQ(c->fb.NCPLOT, 30);
  EXPECT_EQ(c->fb.NPPLOT, -30);
  EXPECT_EQ(cs.IPOINP, 30);
  EXPECT_EQ(c->pg.IBORD, 1);
  EXPECT_EQ(c->op.REMAST, 0);
  EXPECT_EQ(cs.MYGRID, 0);
  // Any other non-zero ratio type takes row 8.
  EXPECT_EQ(cs.KRATIO, 1);
  EXPECT_EQ(c->op.RATLIM(1), static_cast<double>(1.01F));
  EXPECT_EQ(c->op.RATLIM(2), static_cast<double>(0.99F));
  EXPECT_EQ(c->wt.THINME, 1);
  EXPECT_EQ(c->wt.NTHNRM, 5);
  EXPECT_EQ(c->wt.NTHBIG, 10);
  EXPECT_EQ(c->wt.DTHICK, 0.0020000000949949026);

  // Card grid codes give the line kinds (major, minor).
  const int kinds[6][2] = {{0, 0}, {2, 0}, {1, 0}, {2, 2}, {1, 2}, {1, 1}};
  for (int code = 0; code <= 5; ++code) {
    control_card_parse(*c, card({"1", "0", "0", std::to_string(code)}));
    control_card_normalise(*c);
    EXPECT_EQ(c->op.GRIDDY(1), kinds[code][0]) << code;
    EXPECT_EQ(c->op.GRIDDY(2), kinds[code][1]) << code;
  }
  // A ratio subplot needs curves; the former limits stay.
  control_card_parse(*c, card({"0", "2", "0", "0", "3", "2"}, "   4"));
  control_card_normalise(*c);
  EXPECT_EQ(cs.KRATIO, 0);
  EXPECT_EQ(c->op.RATLIM(1), static_cast<double>(1.01F));
  EXPECT_EQ(c->op.REMAST, 4);
  EXPECT_EQ(c->wt.THINME, 0);
  control_card_parse(*c, card({"-2", "0", "0", "0", "9"}));
  control_card_normalise(*c);
  EXPECT_EQ(c->op.RATLIM(2), static_cast<double>(0.999F));
}

TEST_F(Cards, AxisLabelsCombineLabelAndUnits) {
  const auto& ax = c->ax;
  std::string x(72, ' ');
  x.replace(3, 6, "ENERGY");
  x.replace(45, 2, "eV");
  label_cards(*c, x, "   Cross Section");
  EXPECT_EQ(ax.LABLEN(1), 6);
  EXPECT_EQ(ax.LABLEN(2), 11);
  EXPECT_EQ(ax.LABVIS(2), 11);
  EXPECT_EQ(ax.XLABEL, "ENERGY (eV)" + std::string(64, ' '));
  EXPECT_EQ(ax.LABLEN(4), 13);

  // Units without a label; the longest label is kept whole.
  label_cards(*c, std::string(40, ' ') + "s", std::string(72, 'L'));
  EXPECT_EQ(ax.LABLEN(2), 4);
  EXPECT_EQ(ax.XLABEL.substr(0, 5), " (s) ");
  EXPECT_EQ(ax.LABLEN(4), 75);
  EXPECT_EQ(ax.YLABEL,
            std::string(40, 'L') + " (" + std::string(32, 'L') + ")");
}

TEST_F(Cards, XAndYCardsWindowScalesAndLaws) {
  const auto& op = c->op;
  x_card(*c, card({"5", "2", "3", "-1", "4", "7"}));
  EXPECT_EQ(op.XMIN, 2.0);
  EXPECT_EQ(op.XMAX, 5.0);
  EXPECT_EQ(op.ERRBAR(1), 1);
  EXPECT_EQ(c->rs.cards.IW1, 3);
  EXPECT_EQ(op.KROUND(1), 0);
  EXPECT_EQ(op.LEGOFF, 1);
  // Only the upper limit given; a given 0 is still a limit.
  x_card(*c, card({"", "7.5", "0", "", "3"}));
  EXPECT_EQ(op.KXMIN + op.KXMAX, 1);
  EXPECT_EQ(op.XMAX, 7.5);
  EXPECT_EQ(op.KROUND(1), 3);
  x_card(*c, card({"0", "-1"}));
  EXPECT_EQ(op.KXMIN, 1);
  EXPECT_EQ(op.XMIN, -1.0);

  const int requests[][2] = {{3, 2}, {0, 2}, {-3, 2}, {1, 1}, {-2, -2}};
  for (const auto& r : requests) {
    x_card(*c, card({"", "", "", std::to_string(r[0])}));
    EXPECT_EQ(op.KPLANE(1), r[1]) << r[0];
  }
  // Interpolation laws from the x (-2 still in force) and y requests.
  y_card(*c, card({"", "", "-4", "-2", "2", "9"}));
  EXPECT_EQ(op.TERPIT(1), 4);
  EXPECT_EQ(op.TERPIT(2), 3);
  EXPECT_EQ(op.ERRBAR(2) + op.SHOWPT, 2);
  y_card(*c, card({"", "", "", "1"}));
  EXPECT_EQ(op.TERPIT(1), 3);
  x_card(*c, "");
  y_card(*c, card({"", "", "", "-2"}));
  EXPECT_EQ(op.TERPIT(1), 2);
  EXPECT_EQ(op.TERPIT(2), 1);
}

}  // namespace
}  // namespace veskaro
