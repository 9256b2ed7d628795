// The command line holds the plug-in as the host does: loaded through its
// module, so that its entry point runs, and freed again afterwards.
#include <gtest/gtest.h>
#include <headless.h>

#include <sstream>
#include <string>

#include "cli.h"
#include "cli_command.h"
#include "mirovaobj.h"
#include "plugin.h"
#include "report_json.h"

namespace {

// Both builds of the plug-in: the product, whose class table lists the
// utility alone, and the command line's, which hands out the expression
// object too. While one is loaded its library is in the process once.
TEST(PluginHandle, LoadsTheModuleFindsItsClassesAndFreesIt) {
  const struct {
    const char* path;
    bool library;
  } modules[] = {{MIROVA_PLUGIN_PATH, false}, {MIROVA_TOOL_PLUGIN_PATH, true}};
  for (const auto& m : modules) {
    SCOPED_TRACE(m.path);
    const int initsBefore = headless::CustomControlsInitCount();
    EXPECT_EQ(headless::LiveClassDescs(EXPRESSION_OBJECT_CLASS_ID), 0);
    {
      cli::Plugin plugin(m.path);
      ASSERT_TRUE(plugin.Loaded());
      EXPECT_TRUE(plugin.HasExports());
      EXPECT_EQ(headless::CustomControlsInitCount(), initsBefore + 1);
      EXPECT_EQ(headless::ModulePath(headless::CustomControlsInstance()), m.path);
      ASSERT_NE(plugin.MotionControlClass(), nullptr);
      EXPECT_STREQ(plugin.MotionControlClass()->ClassName(), "TzMotionControl");
      EXPECT_EQ(headless::LiveClassDescs(plugin.MotionControlClass()->ClassID()), 1);
      EXPECT_EQ(headless::LiveClassDescs(EXPRESSION_OBJECT_CLASS_ID), 1);
      ASSERT_EQ(plugin.ExpressionObjectClass() != nullptr, m.library);
      if (m.library) {
        EXPECT_STREQ(plugin.ExpressionObjectClass()->ClassName(), "Mirova");
      }
    }
    EXPECT_EQ(headless::ModulePath(headless::CustomControlsInstance()), "");
    EXPECT_EQ(headless::LiveClassDescs(EXPRESSION_OBJECT_CLASS_ID), 0);
  }
}

TEST(PluginHandle, FindsNothingInWhatIsNoPlugin) {
  const struct {
    const char* path;
    bool loads;
  } cases[] = {{"/nonexistent/mirova.dlu", false}, {"libm.so.6", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    cli::Plugin plugin(c.path);
    EXPECT_EQ(plugin.Loaded(), c.loads);
    EXPECT_FALSE(plugin.HasExports());
    EXPECT_EQ(plugin.MotionControlClass(), nullptr);
    EXPECT_EQ(plugin.ExpressionObjectClass(), nullptr);
  }
}

// Every subcommand that works the plug-in runs its entry point once: the
// custom controls its panels need are set up for the module, not the program;
// and its report is whole.
TEST(PluginHandle, EverySubcommandRunsTheEntryPoint) {
  const std::string examples = MIROVA_SOURCE_DIR "/examples/";
  const std::string neutral = examples + "face/neutral.obj";
  const struct {
    const char* name;
    cli::Args args;
    report_json::Json schema;
  } cases[] = {
      {"info", {"--plugin", MIROVA_PLUGIN_PATH}, report_json::InfoReport()},
      {"camera", {examples + "dolly.asc", "--plugin", MIROVA_PLUGIN_PATH},
       report_json::CameraReport()},
      {"morph", {"--neutral", neutral, "-o", testing::TempDir() + "morph.obj"},
       report_json::MorphReport()},
      {"face", {examples + "face_take.trc", "--neutral", neutral}, report_json::FaceReport()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const int initsBefore = headless::CustomControlsInitCount();
    std::ostringstream out, err;
    EXPECT_EQ(RunCli(c.name, c.args, out, err), cli::EXIT_OK) << err.str();
    // No copy of the library stays behind the module the command loaded.
    EXPECT_EQ(headless::LiveClassDescs(EXPRESSION_OBJECT_CLASS_ID), 0);
    EXPECT_EQ(headless::CustomControlsInitCount(), initsBefore + 1);
    EXPECT_NE(headless::CustomControlsInstance(), GetModuleHandleA(nullptr));
    EXPECT_FALSE(report_json::Read(out.str(), c.schema).is_null());
  }
}

}  // namespace
