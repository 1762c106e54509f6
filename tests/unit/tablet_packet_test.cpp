#include "tablet/tablet_packet.h"

#include <gtest/gtest.h>

namespace tenmark {
namespace {

TabletPacket touch(std::uint32_t pressure, std::uint32_t cursor = 1, std::uint32_t buttons = 1) {
  return TabletPacket{cursor, buttons, 100, 200, pressure};
}

// The device's maximum scales the pressure as the normal pressure's own cases show; without one
// the raw value counts.
TEST(TabletPacket, PressureGivesTheWidthChangeDividedByTheHardness) {
  const struct {
    std::uint32_t pressure;
    int hardness;
    std::uint32_t deviceMaximum;
    int change;
  } cases[] = {
      {1, 0, 1023, -20},    {499, 0, 1023, -1},
      {500, 0, 1023, 0},    {1023, 0, 1023, 20},
      {1000, 7, 1023, 2},   {100, 7, 1023, -2},
      {100, -3, 1023, -16}, {2047, 0, 2047, 20},
      {524, 0, 0, 0},       {0xFFFFFFFFu, 0, 0, 171798671},
  };
  for (const auto& c : cases) {
    const PacketAction a = interpretPacket(
        touch(c.pressure), 1, PacketSettings{false, c.hardness, c.deviceMaximum}, PressState{});
    EXPECT_EQ(a.widthChange, c.change) << c.pressure << " of " << c.deviceMaximum;
  }
}

TEST(TabletPacket, NormalPressureSpreadsEveryDeviceOverTheWholeScale) {
  const struct {
    std::uint32_t levels;
    std::uint32_t raw;
    std::uint32_t normal;
  } cases[] = {
      {256, 0, 0},      {256, 1, 4},       {256, 128, 512},    {256, 255, 1020},
      {256, 900, 1020}, {512, 1, 2},       {512, 256, 512},    {512, 511, 1022},
      {1024, 1, 1},     {1024, 511, 511},  {1024, 1023, 1023}, {1024, 5000, 1023},
      {2048, 1, 1},     {2048, 1024, 512}, {2048, 2047, 1023}, {8192, 0, 0},
      {8192, 1, 1},     {8192, 7, 1},      {8192, 8191, 1023},
  };
  for (const auto& c : cases)
    EXPECT_EQ(normalPressure(c.raw, c.levels - 1), c.normal) << c.raw << " of " << c.levels;
  // A device that reports no maximum gives its raw values.
  EXPECT_EQ(normalPressure(5000, 0), 5000u);
}

TEST(TabletPacket, PressureAndThePressInProgressChooseThePointerCall) {
  const struct {
    std::uint32_t pressure;
    bool captured;
    bool tabletStroke;
    PressStep step;
  } cases[] = {
      {300, false, false, PressStep::Down}, {300, true, true, PressStep::Drag},
      {300, true, false, PressStep::None},  // a mouse press goes on
      {0, true, false, PressStep::Up},      // and ends when the pen lifts
      {0, true, true, PressStep::Up},       {0, false, false, PressStep::None},
  };
  for (const auto& c : cases) {
    const PacketAction a = interpretPacket(touch(c.pressure), 1, PacketSettings{},
                                           PressState{c.captured, c.tabletStroke});
    EXPECT_EQ(a.step, c.step) << c.pressure << c.captured << c.tabletStroke;
  }
}

TEST(TabletPacket, EraserEndAndSideSwitch) {
  const struct {
    std::uint32_t cursor;
    std::uint32_t buttons;
    std::uint32_t previous;
    bool eraserEnd;
    bool sideSwitch;
    bool offer;
  } cases[] = {
      {1, 1, 0, false, false, false},   {2, 1, 0, true, false, false},
      {5, 0, 0, true, false, false},    {8, 1, 1, true, false, false},
      {1001, 1, 1, true, false, false}, {1002, 1, 1, false, false, false},
      {1, 2, 0, false, true, true},     {1, 3, 1, false, true, true},
      {1, 3, 3, false, true, false},    {1, 3, 2, false, true, true},
      {1, 2, 2, false, true, false},    {1, 6, 0, false, false, false},
  };
  for (const auto& c : cases) {
    const PacketAction a = interpretPacket(TabletPacket{c.cursor, c.buttons, 0, 0, 0}, c.previous,
                                           PacketSettings{}, PressState{});
    EXPECT_EQ(a.eraserEnd, c.eraserEnd) << c.cursor << " " << c.buttons;
    EXPECT_EQ(a.sideSwitch, c.sideSwitch) << c.cursor << " " << c.buttons;
    EXPECT_EQ(a.offerRightClick, c.offer) << c.buttons << " after " << c.previous;
  }
}

}  // namespace
}  // namespace tenmark
