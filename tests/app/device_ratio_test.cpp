// The shell on a screen of a device pixel ratio above 1: the frame in device pixels, the window's
// clicks, cursor and status line mapped onto it, and Save Picture at the frame's size.
#include "app/commands.h"
#include "shell_fixture.h"

namespace {

constexpr int kStar = 3;  // the star of Ursa Minor the clicks look for

class DeviceRatioTest : public ShellTest {
protected:
    // Only star kStar on screen, at device pixel (x, y); a search radius of 25 device pixels.
    void oneStar(float x, float y) {
        for (AncientStar& star : currentConstellation()->stars) star.visible = 0;
        for (ReferenceStar& star : theApp.reference->stars) star.visible = 0;
        AncientStar& star = currentConstellation()->stars[kStar];
        star.visible = 1, star.screenX = x, star.screenY = y;
        theApp.view.pixelsPerDegree = 25.0;
    }
    bool clickFindsTheStar(int x, int y) {
        fake.nearestText.clear();
        onLeftButtonDown(x, y);
        const AncientStar& star = currentConstellation()->stars[kStar];
        return fake.nearestText.rfind(formatText("%d Ursa Minor %d\r\n", star.catalogNumber,
                                                 kStar + 1), 0) == 0;
    }
};

}  // namespace

TEST_F(DeviceRatioTest, TheFrameIsInDevicePixelsAndClicksSearchUnderTheWindowPixelsMiddle) {
    // The frame of an 800 x 600 window, the star's device pixel, the window pixel over it and
    // those just within / beyond 25 device pixels to its right.
    const struct {
        double ratio;
        std::string frame;
        float starX, starY;
        int within, beyond;  // the window pixel over the star is (600, 450)
    } cases[] = {{2, "frame 1600x1200", 1201, 901, 612, 613},
                 {1.5, "frame 1200x900", 900, 675, 616, 617}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "ratio " << c.ratio);
        resetFakePlatform();
        fake.devicePixelRatio = c.ratio;
        ASSERT_NO_FATAL_FAILURE(start());
        platformRepaint();
        EXPECT_EQ(takeLog(), (Log{"repaint", c.frame}));
        oneStar(c.starX, c.starY);
        EXPECT_TRUE(clickFindsTheStar(600, 450));
        EXPECT_EQ(takeLog(), Log{"nearest show 600 450"});
        EXPECT_TRUE(clickFindsTheStar(c.within, 450));
        EXPECT_FALSE(clickFindsTheStar(c.beyond, 450));
        EXPECT_FALSE(clickFindsTheStar(int(c.starX), int(c.starY)));
    }
}

TEST_F(DeviceRatioTest, CursorStatusLineAndSavedPictureSitOnTheDevicePixelsOfTheWindow) {
    fake.devicePixelRatio = 2;
    fake.cursorKnown = true, fake.cursorX = 799, fake.cursorY = 599;  // the last window pixel
    ASSERT_NO_FATAL_FAILURE(start());
    // The status line 10 window pixels from the left edge; the cursor is inside the window.
    ASSERT_EQ(fake.texts.size(), 2u);
    EXPECT_EQ(fake.texts[0].x, 20);
    fake.texts.clear();
    onMouseMove(100, 50);
    float lon = 0, lat = 0;
    viewUnproject(theApp.view, 201, 101, lon, lat);
    ASSERT_EQ(fake.texts.size(), 1u);
    EXPECT_EQ(fake.texts[0].text, formatCoordinateLine(lon * kRadToDeg, lat * kRadToDeg));
    EXPECT_EQ(fake.texts[0].x + fake.texts[0].text.size() * fake.charWidth + fake.textHeight,
              1600u);
    // Save Picture asks for a file and writes the frame at its size, or says it could not.
    takeLog();
    const std::string asked = "save file Save Picture | Ursa Minor.png";
    const struct {
        std::optional<std::string> answer;
        bool fails;
        Log log;
    } cases[] = {
        {"/pictures/a.png", false, {asked, "picture /pictures/a.png 1600x1200"}},
        {"/pictures/b.png", true,
         {asked, "picture /pictures/b.png 1600x1200",
          "message The picture couldn't be saved. | Tessaran Stars"}}};
    for (const auto& c : cases) {
        fake.fileAnswers = {c.answer};
        fake.pictureSaveFails = c.fails;
        onCharacter('i');
        EXPECT_EQ(takeLog(), c.log);
    }
}
