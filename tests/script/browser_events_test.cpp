// The band's events: the sink hears BeforeNavigate2 of the browser it is attached to (the band
// hears its frames too) and posts notice 37 for it alone; arriving at the program's web site
// attaches it, the band leaving its page releases the frames; a new window counts as an opened
// advertisement unless the status text names the site.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "script/browser/browser_addresses.h"
#include "script/browser/browser_events.h"
#include "support/recording_poster.h"

namespace duvelin {
namespace {

using testing::RecordingPoster;

constexpr BrowserEventId kAllEvents[] = {
    BrowserEventId::StatusTextChange, BrowserEventId::DownloadComplete,  BrowserEventId::CommandStateChange,
    BrowserEventId::DownloadBegin,    BrowserEventId::ProgressChange,    BrowserEventId::TitleChange,
    BrowserEventId::BeforeNavigate2,  BrowserEventId::NewWindow2,        BrowserEventId::NavigateComplete2,
    BrowserEventId::DocumentComplete,
};

const PrivateMessage kHideAd{MSG_GAME_COMMAND, GAME_HIDE_AD, 0};

TEST(TIEEvents, ActsOnlyOnBeforeNavigate2OfTheBrowserItHears) {
  struct Case {
    std::optional<BrowserFrame> attached;
    BrowserFrame source;
    bool heard;
  };
  const Case cases[] = {
      {std::nullopt, BrowserFrame::Band, false},       {std::nullopt, BrowserFrame::Inner, false},
      {BrowserFrame::Band, BrowserFrame::Band, true},  {BrowserFrame::Band, BrowserFrame::Inner, true},
      {BrowserFrame::Inner, BrowserFrame::Band, false}, {BrowserFrame::Inner, BrowserFrame::Inner, true},
  };
  for (const Case& c : cases) {
    for (BrowserEventId id : kAllEvents) {
      SCOPED_TRACE(::testing::Message() << "attached " << (c.attached ? static_cast<int>(*c.attached) : -1)
                                        << " source " << static_cast<int>(c.source) << " event "
                                        << static_cast<int>(id));
      RecordingPoster poster;
      TIEEvents sink(poster);
      if (c.attached) sink.Attach(*c.attached);
      sink.Invoke(id, c.source);
      if (c.heard && id == BrowserEventId::BeforeNavigate2) {
        ASSERT_EQ(poster.posted.size(), 1u);
        EXPECT_EQ(poster.posted[0].first, MessageTarget::MainWindow);
        EXPECT_EQ(poster.posted[0].second, kHideAd);
      } else {
        EXPECT_TRUE(poster.posted.empty());
      }
    }
  }
}

TEST(TIEEvents, AnAttachmentReplacesTheEarlierOne) {
  RecordingPoster poster;
  TIEEvents sink(poster);
  sink.Attach(BrowserFrame::Band);
  sink.Attach(BrowserFrame::Inner);
  sink.Invoke(BrowserEventId::BeforeNavigate2, BrowserFrame::Band);
  EXPECT_TRUE(poster.posted.empty());
  sink.Detach();
  sink.Invoke(BrowserEventId::BeforeNavigate2, BrowserFrame::Inner);
  EXPECT_TRUE(poster.posted.empty());
}

class BrowserEventsTest : public ::testing::Test {
 protected:
  RecordingPoster poster;
  AdvertisementState advertisement;
  BrowserEvents events{poster, advertisement};
};

// One session of the band, step by step: where the sink is attached after each step, and
// whether a navigation posted notice 37.
TEST_F(BrowserEventsTest, ArrivingAtTheProgramsSiteAttachesTheSink) {
  enum Kind { Before, Leave, Complete };
  struct Step {
    Kind kind;
    BrowserFrame source;  // of Before and Complete
    std::string url;      // of Complete
    bool posts;
    std::optional<BrowserFrame> attached;
  };
  const std::string adPage = std::string(kAdvertisementPagePrefix) + "3.htm";
  const BrowserFrame band = BrowserFrame::Band, inner = BrowserFrame::Inner;
  const std::vector<Step> steps = {
      {Before, band, "", false, std::nullopt},  // the maker's page, a local copy
      {Leave, band, "", false, std::nullopt},
      {Complete, band, kMakerPageAddress, false, std::nullopt},
      {Before, band, "", false, std::nullopt},  // a game page with an advertisement row
      {Leave, band, "", false, std::nullopt},
      {Complete, band, MemoryPageAddress(1), false, std::nullopt},
      {Before, inner, "", false, std::nullopt},  // the row's frame loads its page of the site
      {Complete, inner, adPage, false, inner},
      {Before, inner, "", true, inner},  // a click inside the frame
      {Before, band, "", false, inner},  // a link of the page, cancelled: the frame's sink does not hear it
      {Complete, inner, "https://ads.example/landing", false, inner},  // still the same frame
      {Before, band, "", false, inner},  // the next page, at the same address or not
      {Leave, band, "", false, std::nullopt},
      {Before, inner, "", false, std::nullopt},  // its frame's first load
      {Complete, band, "http://127.0.0.1:8080/quorvi2/index.htm", false, band},
      {Before, band, "", true, band},   // the band hears its own navigations
      {Before, inner, "", true, band},  // and those of its frames
      {Leave, band, "", false, band},   // and stays the same browser
      {Complete, band, "about:blank", false, band},
      {Complete, inner, adPage, false, inner},  // the band's attachment released first
      {Before, band, "", false, inner},
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    SCOPED_TRACE(::testing::Message() << "step " << i);
    poster.posted.clear();
    switch (step.kind) {
      case Before: events.WebBrowser1BeforeNavigate2(step.source); break;
      case Leave: events.BandLeavesPage(); break;
      case Complete: events.WebBrowser1NavigateComplete2(step.source, step.url); break;
    }
    if (step.posts) {
      ASSERT_EQ(poster.posted.size(), 1u);
      EXPECT_EQ(poster.posted[0].second, kHideAd);
    } else {
      EXPECT_TRUE(poster.posted.empty());
    }
    EXPECT_EQ(events.Sink().Attached(), step.attached);
  }
}

TEST_F(BrowserEventsTest, NewWindowOpensAnAdvertisementUnlessTheStatusNamesTheSite) {
  struct Case {
    std::vector<std::string> statusTexts;  // in the order they came
    int32_t stateBefore, stateAfter;
  };
  const std::string sitePage = std::string(kProgramSiteBase) + "home.htm";
  const Case cases[] = {
      {{}, 0, 2},  // a script's window.open, nothing hovered
      {{"https://ads.example/offer"}, 0, 2},
      {{"http://www.quorvi2.example/news.htm"}, 0, 0},
      {{sitePage}, 0, 0},
      {{sitePage, ""}, 0, 2},  // the pointer left the link
      {{"https://ads.example/offer", sitePage}, 0, 0},
      {{"https://ads.example/offer"}, 1, 1},  // closed stays closed
      {{"https://ads.example/offer"}, 2, 2},
      {{sitePage}, 2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << (c.statusTexts.empty() ? "(none)" : c.statusTexts.back()) << " state "
                                      << c.stateBefore);
    BrowserEvents fresh(poster, advertisement);
    advertisement = AdvertisementState{c.stateBefore, 5};
    for (const std::string& text : c.statusTexts) fresh.StatusTextChange(text);
    EXPECT_EQ(fresh.StatusText(), c.statusTexts.empty() ? "" : c.statusTexts.back());
    fresh.WebBrowser1NewWindow2();
    EXPECT_EQ(advertisement.state, c.stateAfter);
    EXPECT_EQ(advertisement.count, 5);
  }
}

TEST_F(BrowserEventsTest, NewWindowAndStatusTextPostNothingEvenWhenHeard) {
  events.WebBrowser1NavigateComplete2(BrowserFrame::Band, "http://127.0.0.1:8080/quorvi2/index.htm");
  events.StatusTextChange("https://ads.example/offer");
  events.WebBrowser1NewWindow2();
  EXPECT_TRUE(poster.posted.empty());
  EXPECT_EQ(advertisement.state, 2);
}

}  // namespace
}  // namespace duvelin
