#include "tablet/wintab_session.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tenmark {
namespace {

// A driver made of plain functions: it answers the default system context and the normal
// pressure of that context's device, nothing else, and keeps what it was given.
struct Driver {
  int calls = 0;  // through any entry point
  wintab::LogContext defaultContext{};
  wintab::LogContext opened{};
  int openedEnabled = -1;
  int queueSize = 0;
  int closes = 0;
  wintab::Axis pressure{0, 1023, 0, 0};
  bool infoFails = false;
  bool openFails = false;
  std::uint32_t serial = 0;
  bool deliver = true;
  TabletPacket next{};
};
Driver* driver = nullptr;
int contextObject = 0;

std::uint32_t info(std::uint32_t category, std::uint32_t index, void* out) {
  ++driver->calls;
  if (driver->infoFails) return 0;
  if (category == wintab::kInfoDefaultSystemContext && index == 0) {
    std::memcpy(out, &driver->defaultContext, sizeof(wintab::LogContext));
    return sizeof(wintab::LogContext);
  }
  if (category != wintab::kInfoDevices + driver->defaultContext.device ||
      index != wintab::kDeviceNormalPressure)
    return 0;
  std::memcpy(out, &driver->pressure, sizeof(wintab::Axis));
  return sizeof(wintab::Axis);
}
wintab::Context open(wintab::Window, wintab::LogContext* context, int enable) {
  ++driver->calls;
  driver->opened = *context;
  driver->openedEnabled = enable;
  return driver->openFails ? nullptr : &contextObject;
}
int close(wintab::Context) { return ++driver->calls, ++driver->closes, 1; }
int queueSizeSet(wintab::Context, int size) { return ++driver->calls, driver->queueSize = size, 1; }
int overlap(wintab::Context, int) { return ++driver->calls, 1; }
int enable(wintab::Context, int) { return ++driver->calls, 1; }
int packetsGet(wintab::Context, int, void*) { return ++driver->calls, 0; }
int packet(wintab::Context, std::uint32_t serial, void* out) {
  ++driver->calls;
  driver->serial = serial;
  if (!driver->deliver) return 0;
  std::memcpy(out, &driver->next, sizeof(TabletPacket));
  return 1;
}

const wintab::EntryPoints kAll{info,   open,       close,  queueSizeSet, overlap,
                               enable, packetsGet, packet, nullptr};
const Rect kScreen{-1280, -20, 3200, 1100};

struct SessionTest : ::testing::Test {
  Driver fake;
  WintabSession session;
  SessionTest() {
    driver = &fake;
    std::strcpy(fake.defaultContext.name, "System");
    fake.defaultContext.options = wintab::kOptionSystem;
    fake.defaultContext.messageBase = wintab::kDefaultMessageBase;
    fake.defaultContext.device = 2;
    fake.defaultContext.packetData = 0xFFFF;
    fake.defaultContext.packetMode = 0x80;
  }
  ~SessionTest() override { driver = nullptr; }
};

TEST_F(SessionTest, OpensACopyOfTheDefaultSystemContextThatPostsMessages) {
  ASSERT_TRUE(session.open(kAll, &fake, kScreen));
  EXPECT_EQ(fake.openedEnabled, 1);
  EXPECT_EQ(fake.queueSize, 32);
  wintab::LogContext expected = fake.defaultContext;
  expected.options = wintab::kOptionSystem | wintab::kOptionMessages;
  expected.packetData = expected.moveMask = 0x5E0;
  expected.packetMode = 0;
  expected.outOrgX = -1280;
  expected.outOrgY = -20;
  expected.outExtX = 3200;
  expected.outExtY = -1100;
  EXPECT_EQ(std::memcmp(&fake.opened, &expected, sizeof expected), 0);
  EXPECT_EQ(session.pressureMaximum(), 1023u);
  session.close();
  EXPECT_EQ(fake.closes, 1);
  EXPECT_FALSE(session.isOpen());
  fake.pressure.max = 0;  // a device that does not tell
  ASSERT_TRUE(session.open(kAll, &fake, kScreen));
  EXPECT_EQ(session.pressureMaximum(), 0u);
}

// A driver that lacks an entry point the session calls is never called; one whose info or open
// fails is called no more. Either way the session stays closed.
TEST_F(SessionTest, ADriverLackingAnEntryPointOrFailingLeavesTheSessionClosedAndSilent) {
  using E = wintab::EntryPoints;
  const auto without = [](auto field) {
    E entries = kAll;
    entries.*field = nullptr;
    return entries;
  };
  const E lacking[] = {without(&E::info),         without(&E::open),    without(&E::close),
                       without(&E::queueSizeSet), without(&E::overlap), without(&E::enable),
                       without(&E::packetsGet),   without(&E::packet)};
  // Then two drivers that lack nothing: their info, then their open fails.
  for (std::size_t i = 0; i < 10; ++i) {
    fake.infoFails = i == 8;
    fake.openFails = i == 9;
    EXPECT_FALSE(session.open(i < 8 ? lacking[i] : kAll, &fake, kScreen)) << "driver " << i;
    if (i >= 8) fake.calls = 0;
    session.enable(true);
    session.flush();
    EXPECT_FALSE(session.readPacket(1, &contextObject));
    session.close();
    EXPECT_EQ(fake.calls, 0) << "driver " << i;
  }
  // WTPacketsPeek is never called: a driver without it will do.
  fake.openFails = false;
  EXPECT_TRUE(session.open(kAll, &fake, kScreen));
}

TEST_F(SessionTest, APacketThatIsNotDeliveredIsNeverReplacedByThePreviousOne) {
  ASSERT_TRUE(session.open(kAll, &fake, kScreen));
  fake.next = TabletPacket{1, 1, 10, 20, 600};
  const std::optional<TabletPacket> first = session.readPacket(7, &contextObject);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->pressure, 600u);
  fake.deliver = false;
  EXPECT_FALSE(session.readPacket(8, &contextObject));
  EXPECT_EQ(fake.serial, 8u);
}

}  // namespace
}  // namespace tenmark
