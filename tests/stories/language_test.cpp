// The wizard in the user's language: every caption, tooltip and name a screen reader says is the
// catalogue's, a message's title too; the windows are mirrored where the language is written
// from right to left; at a larger desktop font every text shows whole on monitors of 100 to 200%
// scaling; and the folders made keep their English names. In the pseudo-language each text is
// accented throughout and a good deal longer than the English one.

#include <algorithm>

#include "picker/frmGetFolder.h"
#include "tests/stories/Story.h"
#include "wizard/frmMain.h"
#include "wizard/frmMain2.h"

namespace qb::test {
namespace {

class Languages : public Story, public ::testing::WithParamInterface<std::string> {
 protected:
  // What the user reads for english: the catalogue's text; in the pseudo-language, no letter left
  // as it is and a good deal more.
  void expectShown(const std::string& shown, const std::string& english, const std::string& at) {
    if (GetParam() != "qps-ploc") {
      const auto found = texts.find(english);
      EXPECT_EQ(shown, found == texts.end() || found->second.empty() ? english : found->second)
          << at;
    } else if (!english.empty()) {
      EXPECT_TRUE(
          std::none_of(shown.begin(), shown.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
          << at << ": " << shown;
      EXPECT_GE(shown.size() * 10, english.size() * 13) << at << ": " << shown;
    }
  }

  // Every text of the window as the user reads it, its place, and all of it whole at a larger
  // font and at 100 to 200% scaling.
  void expectWindow(const WindowSpec& spec) {
    expectShown(user().facts(spec.name, "").accessibleName, spec.caption, spec.name);
    for (const ControlSpec& control : spec.controls) {
      const ControlFacts facts = user().facts(spec.name, control.name);
      expectShown(facts.tooltip, control.tooltip, control.name);
#ifdef _WIN32
      if (control.kind == ControlKind::DriveList) continue;  // wine says a list's choice
#endif
      expectShown(facts.accessibleName, accessibleNameOf(control), control.name);
    }
    // Its first button is where the table puts it, measured from the window's right edge where
    // the language is written from right to left.
    const ControlSpec& button =
        *std::find_if(spec.controls.begin(), spec.controls.end(),
                      [](auto& c) { return c.kind == ControlKind::Button; });
    const ControlFacts at = user().facts(spec.name, button.name);
    const int left = GetParam() == "ar" ? spec.clientWidth - button.rect.left - button.rect.width
                                        : button.rect.left;
    EXPECT_NEAR(at.x, left * at.width / button.rect.width, 2) << spec.name;
    const ControlFacts before = user().facts(spec.name, "");
    for (const int dpi : {192, 168, 144, 120, 96}) {
      EXPECT_TRUE(user().moveToScale(spec.name, dpi)) << spec.name << " at " << dpi;
      for (const ControlSpec& control : spec.controls) {
        const ControlFacts facts = user().facts(spec.name, control.name);
        EXPECT_FALSE(facts.textCut) << spec.name << " " << control.name << " at " << dpi;
        EXPECT_GE(facts.points, kPoints - 0.5) << spec.name << " " << control.name << " at " << dpi;
      }
    }
    // Moved back to where it began, it has its size again.
    const ControlFacts after = user().facts(spec.name, "");
    EXPECT_EQ(std::make_pair(after.width, after.height),
              std::make_pair(before.width, before.height))
        << spec.name;
  }

  static constexpr int kPoints = 11;  // the user's text size

  std::map<std::string, std::string> texts = catalogue(GetParam());
};

TEST_P(Languages, TheWizardSpeaksTheUsersLanguageAndShowsEveryTextWhole) {
  const ScopedLanguage language(GetParam());
  if (!language.ready()) GTEST_SKIP() << "this run's user language is another";
  const std::string home = temp() / "home", project = temp() / "home/My Documents/Project";
  makeFolders(temp() / "home/My Documents");
  const ScopedEnvironment drive("HOMEDRIVE", nullptr), path("HOMEPATH", home.c_str());
  user().setDesktopFont(kPoints);
  play([&] {
    expectWindow(frmMain::kWindow);
    newProjectInDocuments(
        [&] {
          expectWindow(frmMain2::kWindow);
          user().click("frmMain2", "btnSkip");
        },
        [&] {
          // With a path too long for it, the path box's scroll bar shows and takes room.
          user().type("frmGetFolder", "txtPathlist", temp() / std::string(80, 'x'));
          expectWindow(frmGetFolder::kWindow);
#ifndef _WIN32
          // A screen reader reads the list's rows in the user's language too (Windows' own list
          // view names a row by its text alone).
          const std::string open = "{1}, open folder, level {2}";
          std::string row = texts.count(open) ? texts.at(open) : open;
          const std::string mark = GetParam() == "ar" ? "\u200E" : "";
          row.replace(row.find("{2}"), 3, mark + "1" + mark);
          row.replace(row.find("{1}"), 3, mark + "/" + mark);
          if (GetParam() != "qps-ploc") {
            EXPECT_EQ(user().facts("frmGetFolder", "Dir1").rows.at(0), row);
          }
#endif
        });
  });
  EXPECT_EQ(tree(project), (std::vector<std::string>{"Help Project/", "Images/", "Package/"}));
  ASSERT_EQ(user().asked().size(), 2u);
  expectShown(user().asked()[0].title, "Create new folder", "the input box");
  expectShown(user().asked()[1].title, "Query!", "the question");
  // A path keeps its own direction inside a sentence read from right to left.
  const std::string mark = GetParam() == "ar" ? "\u200E" : "";
  EXPECT_NE(user().asked()[1].prompt.find(mark + project + mark), std::string::npos)
      << user().asked()[1].prompt;
}

INSTANTIATE_TEST_SUITE_P(InEach, Languages, ::testing::Values("en", "de", "ar", "qps-ploc"),
                         [](const auto& test) {
                           return test.param == "qps-ploc" ? "qps" : test.param;
                         });

}  // namespace
}  // namespace qb::test
