// imgtool, the command line over the engine: output, exit codes and messages.
#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/io.h"
#include "imaging_test_util.h"

namespace zel::img::test {
namespace {

std::string Imgtool() {
  const auto exe = std::filesystem::read_symlink("/proc/self/exe");
  const auto tool = exe.parent_path().parent_path() / "tools" / "imgtool";
  return std::filesystem::exists(tool) ? tool.string() : "";
}

struct Result {
  int status;
  std::string out;
};

Result RunTool(const std::string& args) {
  bool ok = false;
  const std::string out = RunCommand("'" + Imgtool() + "' " + args + " 2>&1", &ok);
  return {ok ? 0 : 1, out};
}

TEST(Imgtool, InfoConvertThumbQuality) {
  if (Imgtool().empty()) GTEST_SKIP() << "imgtool not built beside the tests";
  TempDir dir;
  EXPECT_EQ(RunTool("info '" + Fixture("rgba.png") + "'").out, "61 37 alpha\n");
  ASSERT_EQ(RunTool("convert '" + Fixture("pal.gif") + "' '" + (dir / "o.jpg") + "' --quality 42 --progressive").status, 0);
  EXPECT_EQ(RunTool("quality '" + (dir / "o.jpg") + "'").out, "42\n");
  ASSERT_EQ(RunTool("thumb '" + Fixture("rgb24.bmp") + "' '" + (dir / "t.png") + "' 20").status, 0);
  EXPECT_EQ(Load(dir / "t.png").width(), 20);
}

TEST(Imgtool, FitReportsTheResultOrAClearFailure) {
  if (Imgtool().empty()) GTEST_SKIP() << "imgtool not built beside the tests";
  TempDir dir;
  Save(Noisy(400, 300), dir / "n.png");
  const Result ok = RunTool("fit '" + (dir / "n.png") + "' '" + (dir / "f.jpg") + "' 200 150 12000");
  ASSERT_EQ(ok.status, 0) << ok.out;
  int q = 0, size = 0, encodes = 0;
  ASSERT_EQ(std::sscanf(ok.out.c_str(), "quality %d size %d encodes %d", &q, &size, &encodes), 3) << ok.out;
  EXPECT_LE(size, 12000);
  EXPECT_EQ(FileBytes(dir / "f.jpg").size(), size_t(size));
  const Result linear = RunTool("fit '" + (dir / "n.png") + "' '" + (dir / "g.jpg") + "' 200 150 12000 --linear");
  EXPECT_EQ(linear.out.substr(0, 10), ok.out.substr(0, 10));  // the same quality
  const Result tooSmall = RunTool("fit '" + (dir / "n.png") + "' '" + (dir / "h.jpg") + "' 200 150 300");
  EXPECT_NE(tooSmall.status, 0);
  EXPECT_NE(tooSmall.out.find("does not fit"), std::string::npos) << tooSmall.out;
  EXPECT_FALSE(std::filesystem::exists(dir / "h.jpg"));
}

TEST(Imgtool, ErrorsGoToStandardErrorWithAFailingExit) {
  if (Imgtool().empty()) GTEST_SKIP() << "imgtool not built beside the tests";
  TempDir dir;
  WriteBytes(dir / "junk.jpg", {1, 2, 3, 4, 5});
  for (const std::string& args : std::vector<std::string>{"info '" + (dir / "junk.jpg") + "'", "info '" + (dir / "none.png") + "'",
                                  "convert '" + Fixture("rgb.png") + "' '" + (dir / "x.xyz") + "'",
                                  "convert '" + Fixture("rgb.png") + "' '" + (dir / "x.jpg") + "' --quality 0",
                                  "thumb '" + Fixture("rgb.png") + "' '" + (dir / "x.png") + "' abc", "bogus", ""}) {
    const Result r = RunTool(args);
    EXPECT_NE(r.status, 0) << args;
    EXPECT_FALSE(r.out.empty()) << args;
  }
}

}  // namespace
}  // namespace zel::img::test
