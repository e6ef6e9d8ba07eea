// The inventory in play, in-process on the inventory fixture: items given by hotspots and
// actions, the grid and the panel, removal, the button, the bar's slide and pop-up on the
// virtual clock, the bar's pictures, combining items and broken item and combination files.
#include <gtest/gtest.h>

#include <algorithm>

#include "player/engine/game.h"
#include "player/game_fixture.h"
#include "player/inventory/inventory.h"
#include "player/inventory/inventory_grid.h"
#include "player/variables/variable_store.h"
#include "ui/control_array.h"
#include "ui/controls/image.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/timer_control.h"
#include "ui/form.h"

namespace sl {
namespace {

TEST(InventoryGrid, FifteenColumnsAcrossSixHundredFortyPixels) {
  InventoryGrid grid(640, 10, 10);
  EXPECT_EQ(grid.Columns(), 15);  // 9600 / 630
  EXPECT_DOUBLE_EQ(grid.Left(1), 150);
  EXPECT_DOUBLE_EQ(grid.Top(1), 150);
  EXPECT_DOUBLE_EQ(grid.Left(15), 150 + 630 * 14);
  EXPECT_DOUBLE_EQ(grid.Left(16), 150);
  EXPECT_DOUBLE_EQ(grid.Top(16), 780);
  EXPECT_DOUBLE_EQ(grid.PanelHeight(1), 780);
  EXPECT_DOUBLE_EQ(grid.PanelHeight(15), 780);
  EXPECT_DOUBLE_EQ(grid.PanelHeight(16), 1410);
  InventoryGrid tight(320, 0, 5);
  EXPECT_EQ(tight.Columns(), 10);
  EXPECT_DOUBLE_EQ(tight.Left(3), 960);
  EXPECT_DOUBLE_EQ(tight.Top(11), 75 + 555);
  // A picture narrower than a cell still gets one column.
  InventoryGrid narrow(20, 10, 10);
  EXPECT_EQ(narrow.Columns(), 1);
  EXPECT_DOUBLE_EQ(narrow.Top(3), 150 + 630 * 2);
}

// A script host that records what it is asked and asks for a frame.
class RecordingScripts : public ScriptSubsystem {
 public:
  void ResetModule() override { calls.push_back("reset"); }
  void SetHotspotNumber(int n) override { calls.push_back("hotspot " + std::to_string(n)); }
  bool ExecuteVBScript(const std::string& text, bool reset) override {
    calls.push_back("run " + text + (reset ? " reset" : ""));
    return false;
  }
  std::string FrameToLoad() override { return frame; }
  void StartTimedEvents() override { calls.push_back("timed"); }
  std::vector<std::string> calls;
  std::string frame;
};

class InventoryGame : public ::testing::Test {
 protected:
  void SetUp() override { Open(); }
  void Open(ScriptSubsystem* scripts = nullptr) {
    run = std::make_unique<test::GameRun>("inventory_game");
    if (scripts) run->player->Subsystems().scripts = scripts;
    run->Start();
    ASSERT_EQ(run->G().CurrentFrameName, "Room");
  }
  Inventory& Inv() { return static_cast<Inventory&>(*run->G().Subsystems().inventory); }
  ProjectInformation& Info() { return run->player->GetProject().MutableInfo(); }
  ui::Control& Control(const std::string& name) { return *run->G().Form().FindControl(name); }
  ui::ControlArray& Items() { return *run->G().Form().FindArray("PickedObject"); }
  ui::Control& Item(int k) { return Items().Item(k); }
  ui::Control& Panel() { return Control("Inventory1"); }
  ui::Control& Button() { return Control("Inventory2"); }
  ui::TimerControl& Timer() { return static_cast<ui::TimerControl&>(Control("TimerInventory")); }
  std::int64_t Now() { return run->Loop().NowMs(); }
  std::vector<std::string> Names() { return Inv().ItemNames(); }
  const std::vector<MessageBoxRequest>& Boxes() { return run->boxes.Shown(); }
  void AddQuietly(std::initializer_list<const char*> names) {
    for (const char* n : names)
      Inv().AddPickedObject(n, true);
  }
  void Drop(int d, int t) {
    Inv().DraggedItem = static_cast<std::int16_t>(d);
    Inv().PickedObject_DragDrop(static_cast<std::int16_t>(t), Item(d));
  }
  void ExpectNoBoxes() {
    for (const auto& b : Boxes())
      ADD_FAILURE() << b.title << ": " << b.text;
  }

  std::unique_ptr<test::GameRun> run;
};

using Names_ = std::vector<std::string>;

TEST_F(InventoryGame, ResetParksTheBarAboveTheFrameAndHidesTheEmptyButton) {
  EXPECT_TRUE(Panel().Visible());
  EXPECT_DOUBLE_EQ(Panel().Height(), 780);
  EXPECT_DOUBLE_EQ(Panel().Top(), -780);
  EXPECT_DOUBLE_EQ(Panel().Width(), 640 * 15);
  EXPECT_FALSE(Button().Visible());
  EXPECT_GT(static_cast<ui::Image&>(Button()).Picture().Width(), 0);  // the built-in button
  EXPECT_FALSE(Control("Inventory_Background").Visible());
  EXPECT_EQ(Item(0).Container(), &Panel());
  ExpectNoBoxes();
}

TEST_F(InventoryGame, SixteenthItemOpensASecondRowAndThePanelGrows) {
  for (int i = 0; i < 16; ++i)
    Inv().AddPickedObject("A", true);
  ASSERT_EQ(Inv().ObjectsCount, 16);
  EXPECT_DOUBLE_EQ(Item(15).Left(), 150 + 630 * 14);
  EXPECT_DOUBLE_EQ(Item(15).Top(), 150);
  EXPECT_DOUBLE_EQ(Item(16).Left(), 150);
  EXPECT_DOUBLE_EQ(Item(16).Top(), 780);
  EXPECT_DOUBLE_EQ(Panel().Height(), 1410);
  EXPECT_DOUBLE_EQ(Panel().Top(), -1410);  // still closed: no strip shows
  // The same name twice is two icons, each with its own picture, tag and tool-tip.
  EXPECT_EQ(Names(), Names_(16, "A"));
  EXPECT_TRUE(Item(16).Visible());
  EXPECT_EQ(Item(16).ToolTipText(), "A");
  EXPECT_EQ(static_cast<ui::Image&>(Item(16)).Picture().Width(), 32);
  EXPECT_FALSE(Item(16).DragIcon().IsNone());
  Inv().RemovePickedObject(16);
  EXPECT_DOUBLE_EQ(Panel().Height(), 780);
  ExpectNoBoxes();
}

TEST_F(InventoryGame, HotspotsGiveTheirItemThroughThePlaceFile) {
  run->Control("Area(1)");
  EXPECT_EQ(Names(), Names_({"Rope"}));
  run->Control("Area(2)");  // field 11 is 0: nothing, and no name field is read
  EXPECT_EQ(Names(), Names_({"Rope"}));
  run->Control("Area(3)");  // only the first record of hotspot 3 counts
  EXPECT_EQ(Names(), Names_({"Rope", "Hook"}));
  run->Control("Area(1)");  // every click gives the item again
  EXPECT_EQ(Names(), Names_({"Rope", "Hook", "Rope"}));
  run->Control("Area(5)");  // the key comes with the action, which makes its hotspot go
  EXPECT_EQ(Names(), Names_({"Rope", "Hook", "Rope", "Key"}));
  EXPECT_TRUE(Button().Visible());
  ExpectNoBoxes();
}

TEST_F(InventoryGame, RemovingTheMiddleItemMovesTheLaterOnesUp) {
  AddQuietly({"A", "B", "C"});
  const draw::Picture& c = static_cast<ui::Image&>(Item(3)).Picture();
  draw::Picture cPicture = c;
  Inv().RemovePickedObject(2);
  EXPECT_EQ(Names(), Names_({"A", "C"}));
  EXPECT_EQ(Inv().ObjectsCount, 2);
  EXPECT_FALSE(Items().Exists(3));
  EXPECT_TRUE(static_cast<ui::Image&>(Item(2)).Picture().SameAs(cPicture));
  EXPECT_TRUE(Item(2).DragIcon().SameAs(cPicture));
  EXPECT_EQ(Item(2).ToolTipText(), "C");
  EXPECT_DOUBLE_EQ(Item(2).Left(), 150 + 630);  // positions stay
  // A place that holds no item removes nothing.
  Inv().RemovePickedObject(5);
  EXPECT_EQ(Names(), Names_({"A", "C"}));
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].text.find(" Unable to remove the item from the inventory."),
            std::string::npos);
}

TEST_F(InventoryGame, TheButtonHidesWhenTheLastItemGoesOnlyWithTheOption) {
  AddQuietly({"A"});
  EXPECT_TRUE(Button().Visible());
  Inv().RemovePickedObject(1);
  EXPECT_FALSE(Button().Visible());
  Info().InventoryHideWhenEmpty = false;
  AddQuietly({"A"});
  Inv().RemovePickedObject(1);
  EXPECT_TRUE(Button().Visible());
  EXPECT_EQ(Inv().ObjectsCount, 0);
}

TEST_F(InventoryGame, NoPopUpLeavesTheBarClosed) {
  std::int64_t t0 = Now();
  Inv().AddPickedObject("A", true);
  EXPECT_DOUBLE_EQ(Panel().Top(), -780);
  EXPECT_FALSE(Timer().TimerEnabled());
  EXPECT_FALSE(Inv().OpenRequest);
  EXPECT_EQ(Now(), t0);
  Info().InventoryPopUpOnAdd = false;
  Inv().AddPickedObject("B", false);
  EXPECT_DOUBLE_EQ(Panel().Top(), -780);
}

TEST_F(InventoryGame, APopUpSlidesOpenAndTheTimerClosesItTwoSecondsLater) {
  run->G().PointerZone = Inventory::kZoneFrame;
  std::int64_t t0 = Now();
  Inv().AddPickedObject("A", false);
  std::int64_t slide = Now() - t0;
  EXPECT_DOUBLE_EQ(Panel().Top(), 0);
  EXPECT_GE(slide, 250);  // about 0.3 second on the clock, a pass a display frame
  EXPECT_LE(slide, 500);
  EXPECT_FALSE(Inv().Moving());
  EXPECT_TRUE(Timer().TimerEnabled());
  EXPECT_TRUE(Inv().OpenRequest);
  run->Wait(1900);
  EXPECT_DOUBLE_EQ(Panel().Top(), 0);
  run->Wait(600);
  EXPECT_DOUBLE_EQ(Panel().Top(), -780);
  EXPECT_EQ(run->G().PointerZone, Inventory::kZoneFrame);
  EXPECT_FALSE(Inv().OpenRequest);
  EXPECT_FALSE(Timer().TimerEnabled());
}

TEST_F(InventoryGame, WithoutSlidingTheBarJumpsAndThePopUpTimerLeavesItOpen) {
  Info().InventorySlideIn = false;
  Info().InventorySlideOut = false;
  std::int64_t t0 = Now();
  Inv().AddPickedObject("A", false);
  EXPECT_DOUBLE_EQ(Panel().Top(), 0);
  EXPECT_EQ(Now(), t0);  // one pass, no wait
  run->Wait(3000);
  EXPECT_DOUBLE_EQ(Panel().Top(), 0);  // the timer does not close it
  EXPECT_TRUE(Inv().OpenRequest == false);
  run->G().PointerZone = Inventory::kZoneFrame;  // the pointer back over the frame
  Inv().Inventory_Move();
  EXPECT_DOUBLE_EQ(Panel().Top(), -780);
  EXPECT_EQ(Now(), t0 + 3000);
}

TEST_F(InventoryGame, PointerOverTheButtonOpensTheBarAndOverTheFrameClosesIt) {
  AddQuietly({"A"});
  ui::InputEvent move;
  move.kind = ui::InputKind::MouseMove;
  move.space = ui::CoordSpace::Script;
  move.x = 5;
  move.y = 5;
  run->Post(move);  // over the button
  EXPECT_EQ(run->G().PointerZone, Inventory::kZoneInventory);
  EXPECT_DOUBLE_EQ(Panel().Top(), 0);
  move.x = 300;
  move.y = 300;
  run->Post(move);  // over the frame
  EXPECT_EQ(run->G().PointerZone, Inventory::kZoneFrame);
  EXPECT_DOUBLE_EQ(Panel().Top(), -780);
  // A zone not yet known moves nothing.
  run->G().PointerZone = Inventory::kZoneUnknown;
  Inv().Inventory_Move();
  EXPECT_DOUBLE_EQ(Panel().Top(), -780);
}

TEST_F(InventoryGame, CombiningRemovesDraggedAndTargetInEitherOrder) {
  AddQuietly({"A", "B", "C", "D"});
  Drop(2, 3);  // B onto C: place 2, then place 2 again (the former 3)
  EXPECT_EQ(Names(), Names_({"A", "D"}));
  AddQuietly({"B", "C"});  // A D B C
  Drop(4, 3);              // C onto B: place 4, then place 3
  EXPECT_EQ(Names(), Names_({"A", "D"}));
  ExpectNoBoxes();
}

TEST_F(InventoryGame, DroppingOnItselfOrWithoutACombinationFileDoesNothing) {
  AddQuietly({"A", "B", "C"});
  Drop(2, 2);  // B_on_B exists, and would remove B
  EXPECT_EQ(Names(), Names_({"A", "B", "C"}));
  Drop(3, 1);  // no C_on_A
  EXPECT_EQ(Names(), Names_({"A", "B", "C"}));
  // Only an item is a source.
  Inv().PickedObject_DragDrop(1, Button());
  EXPECT_EQ(Names(), Names_({"A", "B", "C"}));
  ExpectNoBoxes();
}

TEST_F(InventoryGame, ACombinationFileThatEndsAfterTheNewItemRunsNoProcedure) {
  RecordingScripts scripts;
  Open(&scripts);
  scripts.calls.clear();
  AddQuietly({"A", "B"});
  Drop(1, 2);  // A_on_B: keeps both, adds a key
  EXPECT_EQ(Names(), Names_({"A", "B", "Key"}));
  EXPECT_TRUE(scripts.calls.empty());
  ExpectNoBoxes();
}

TEST_F(InventoryGame, RopeOnHookMakesAGrappleAndItsProcedureOpensTheHall) {
  RecordingScripts scripts;
  Open(&scripts);
  scripts.calls.clear();
  AddQuietly({"Key", "Rope", "Hook"});
  scripts.frame = "Hall";
  Drop(2, 3);
  EXPECT_EQ(Names(), Names_({"Key", "Grapple"}));
  ASSERT_GE(scripts.calls.size(), 3u);
  EXPECT_EQ(scripts.calls[0], "reset");
  EXPECT_EQ(scripts.calls[1], "hotspot 0");
  EXPECT_EQ(scripts.calls[2], "run Action.GoToFrame \"Hall\", 0, 0 reset");
  EXPECT_EQ(run->G().CurrentFrameName, "Hall");
  // "last visited frame" goes back through the history; no frame: timed events restart.
  AddQuietly({"Rope", "Hook"});
  scripts.frame = "last visited frame";
  scripts.calls.clear();
  Drop(3, 4);
  EXPECT_EQ(run->G().CurrentFrameName, "Room");
  EXPECT_EQ(run->G().History().Names(), Names_({"Room"}));
  AddQuietly({"Rope", "Hook"});
  scripts.calls.clear();
  Drop(4, 5);
  EXPECT_EQ(run->G().CurrentFrameName, "Room");  // a history of one entry opens nothing
  EXPECT_EQ(scripts.calls.back(), "timed");
  ExpectNoBoxes();
}

TEST_F(InventoryGame, BrokenItemFilesReportTheItemAndItsIcon) {
  Inv().AddPickedObject("Empty", false);
  Inv().AddPickedObject("Ghost", false);
  EXPECT_EQ(Inv().ObjectsCount, 0);
  Inv().AddPickedObject("Junk", false);
  ASSERT_EQ(Boxes().size(), 3u);
  const std::string lead = run->player->GetProject().Texts().ErrorLead();
  EXPECT_EQ(Boxes()[0].text, lead +
                                 " Unable to pick up the item named 'Empty'. The item may be "
                                 "unavailable, or the icon '' associated to the item may be "
                                 "corrupt.");
  EXPECT_EQ(Boxes()[1].text, lead +
                                 " Unable to pick up the item named 'Ghost'. The item may be "
                                 "unavailable, or the icon '' associated to the item may be "
                                 "corrupt.");
  EXPECT_EQ(Boxes()[2].text, lead +
                                 " Unable to pick up the item named 'Junk'. The item may be "
                                 "unavailable, or the icon 'junk.ico' associated to the item "
                                 "may be corrupt.");
  EXPECT_EQ(Boxes()[2].icon, MsgIcon::Critical);
  EXPECT_EQ(Boxes()[2].title, run->player->GetProject().Texts()[29]);
  // The icon failed after the item was made: it is held, without a picture, and no pop-up.
  EXPECT_EQ(Names(), Names_({"Junk"}));
  EXPECT_FALSE(Timer().TimerEnabled());
  EXPECT_DOUBLE_EQ(Panel().Top(), -780);
}

TEST_F(InventoryGame, BrokenCombinationFilesKeepWhatWasDone) {
  AddQuietly({"A", "B", "C", "D"});
  Drop(1, 4);  // A_on_D: field 1 is no number
  EXPECT_EQ(Names(), Names_({"A", "B", "C", "D"}));
  Drop(4, 1);  // D_on_A: D goes, then field 2 is no number
  EXPECT_EQ(Names(), Names_({"A", "B", "C"}));
  ASSERT_EQ(Boxes().size(), 2u);
  const std::string lead = run->player->GetProject().Texts().ErrorLead();
  EXPECT_EQ(Boxes()[0].text, lead + " Unable to combine items.");
  EXPECT_EQ(Boxes()[1].text, lead + " Unable to combine items.");
}

TEST_F(InventoryGame, BackgroundNamedDefaultIsNoneAndAPictureSitsAtTheBottom) {
  ui::Control& background = Control("Inventory_Background");
  Info().InventoryBackgroundShown = true;
  Info().InventoryPicture2 = "Default";
  Inv().Load_InventoryBackground();
  EXPECT_FALSE(background.Visible());
  Info().InventoryPicture2 = "nosuch.bmp";
  Inv().Load_InventoryBackground();
  EXPECT_FALSE(background.Visible());
  Info().InventoryPicture2 = "bar.bmp";
  Info().InventoryPicture1 = "button.bmp";
  Inv().Load_InventoryBackground();
  ASSERT_TRUE(background.Visible());
  EXPECT_DOUBLE_EQ(background.Top(), 780 - 300);
  EXPECT_DOUBLE_EQ(Button().Width(), 300);
  // It follows the panel's bottom as rows come and go.
  for (int i = 0; i < 16; ++i)
    Inv().AddPickedObject("A", true);
  EXPECT_DOUBLE_EQ(background.Top(), 1410 - 300);
  Inv().RemovePickedObject(1);
  EXPECT_DOUBLE_EQ(background.Top(), 780 - 300);
  // Without the custom graphics option there is no background.
  Info().InventoryBackgroundShown = false;
  Inv().Load_InventoryBackground();
  EXPECT_FALSE(background.Visible());
  ExpectNoBoxes();
}

TEST_F(InventoryGame, KeyDroppedOnTheDoorRunsItsItemUseAction) {
  AddQuietly({"Rope", "Key"});
  ui::Control& door = run->G().Form().FindArray("Area")->Item(4);
  Inv().DraggedItem = 2;
  Inv().Area_DragDrop(door, Item(2), 150, 300, false);
  EXPECT_EQ(run->player->Variables().GetVariableValue("DoorOpen"), 1);
  EXPECT_EQ(Names(), Names_({"Rope"}));  // the record's disappear option takes the key
  EXPECT_TRUE(door.Visible());
  EXPECT_EQ(run->G().Subsystems().hotspots->ClickPositionX(),
            static_cast<int>((door.Left() + 150) / 15 + 0.5));
  // The button is no item: nothing happens.
  Inv().Area_DragDrop(door, Button(), 0, 0, false);
  EXPECT_EQ(Names(), Names_({"Rope"}));
  ExpectNoBoxes();
}

TEST_F(InventoryGame, WithoutASlidingBarTheItemsLieOnTheFrame) {
  Info().InventoryAnimated = false;
  run->G().ResetAll();
  EXPECT_FALSE(Panel().Visible());
  EXPECT_FALSE(Button().Visible());
  std::int64_t t0 = Now();
  Inv().AddPickedObject("Rope", false);  // the pop-up has no bar to open
  EXPECT_EQ(Now(), t0);
  EXPECT_EQ(Item(1).Container(), &run->G().PictureBox());
  EXPECT_TRUE(Item(1).Visible());
  EXPECT_DOUBLE_EQ(Item(1).Top(), 150);
  EXPECT_FALSE(Button().Visible());
  Inv().RemovePickedObject(1);
  EXPECT_FALSE(Button().Visible());
  // The script's button calls do nothing either.
  Inv().ShowInventoryButton();
  EXPECT_FALSE(Button().Visible());
  ExpectNoBoxes();
}

TEST_F(InventoryGame, ScriptHidesTheButtonAndParksTheBar) {
  Inv().AddPickedObject("Rope", false);
  ASSERT_DOUBLE_EQ(Panel().Top(), 0);
  Inv().HideInventoryButton();
  EXPECT_DOUBLE_EQ(Panel().Top(), -780);
  EXPECT_FALSE(Button().Visible());
  Inv().ShowInventoryButton();
  EXPECT_TRUE(Button().Visible());
}

TEST_F(InventoryGame, RightPressOnAnItemOpensTheMenusAndLeftPressStartsADrag) {
  Inv().AddPickedObject("Rope", false);  // the bar opens
  ui::InputEvent press;
  press.kind = ui::InputKind::MouseDown;
  press.space = ui::CoordSpace::Script;
  press.x = 20;
  press.y = 20;
  press.button = ui::kButtonRight;
  run->Post(press);
  EXPECT_TRUE(run->MenuVisible("mnuExit"));
  EXPECT_EQ(run->player->Windows().DragSource(), nullptr);
  press.kind = ui::InputKind::MouseUp;
  run->Post(press);
  press.kind = ui::InputKind::MouseDown;
  press.button = ui::kButtonLeft;
  run->Post(press);
  EXPECT_EQ(run->player->Windows().DragSource(), &Item(1));
  EXPECT_EQ(Inv().DraggedItem, 1);
  EXPECT_TRUE(run->G().MovieStopRequested());
  press.kind = ui::InputKind::MouseUp;
  run->Post(press);  // dropped on itself: nothing happens
  EXPECT_EQ(Names(), Names_({"Rope"}));
  EXPECT_EQ(run->player->Windows().DragSource(), nullptr);
}

}  // namespace
}  // namespace sl
