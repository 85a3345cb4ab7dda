// The settings file under stress: real processes killed in the middle of a save or saving at
// the same moment, and broken files; none may cost another report its section.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <random>

#include "engine/Vellumix/ReportId.h"
#include "framework/rtl/SysUtils.h"
#include "tests/engine/FileMgrFixture.h"

namespace {

std::string IdOf(int Section) { return Format("Report (100.%.3d)", {Section + 1}); }

// Every field a save writes carries its generation, so a section that mixes two saves shows.
void Stamp(TvlxReportSettings& S, int Generation) {
  S.ReportDesc = "gen " + std::to_string(Generation);
  S.InitPrinterStr = "g" + std::to_string(Generation) + "=x";
  S.RptMemo(RptTi)->Text = "title " + std::to_string(Generation) + "\r\n[Draft]\r\nMemo,RptHdr=START";
  S.PrintWhat = static_cast<TPrintWhat>(1 + Generation % 7);
}

// The generation a section holds, or -1 when its fields disagree.
int GenerationOf(TvlxReportSettings& S) {
  if (S.ReportDesc.compare(0, 4, "gen ") != 0) return -1;
  const int G = std::stoi(S.ReportDesc.substr(4));
  TvlxReportSettings Expected;
  Stamp(Expected, G);
  const bool Same = S.InitPrinterStr == Expected.InitPrinterStr && S.PrintWhat == Expected.PrintWhat &&
                    S.RptMemo(RptTi)->Text == Expected.RptMemo(RptTi)->Text;
  return Same ? G : -1;
}

// The lines that start with "[" and Prefix: the headers, when no memo line starts so.
int HeaderCount(const std::string& Content, const std::string& Prefix) {
  const std::string Start = "[" + Prefix;
  int N = Content.compare(0, Start.size(), Start) == 0;
  for (size_t P = Content.find("\n" + Start); P != std::string::npos; P = Content.find("\n" + Start, P + 1)) ++N;
  return N;
}

// Runs Body in a child process that ends with Body's verdict and never returns here.
pid_t Spawn(const std::function<bool()>& Body) {
  const pid_t Pid = fork();
  if (Pid == 0) {
    bool Ok = false;
    try {
      Ok = Body();
    } catch (...) {
    }
    _exit(Ok ? 0 : 1);
  }
  return Pid;
}

int ExitCode(pid_t Pid) {
  int Status = 0;
  waitpid(Pid, &Status, 0);
  return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

class FileMgrProcessTest : public FileMgrTest {
protected:
  static constexpr int Sections = 16;

  void WriteSections(int Generation) {
    for (int I = 0; I < Sections; ++I) {
      Mgr.LoadReportSettings("Stress", IdOf(I));
      Stamp(Settings, Generation);
      Save("Stress", IdOf(I));
    }
  }
  int LoadGeneration(int Section) {
    Mgr.LoadReportSettings("Stress", IdOf(Section));
    return GenerationOf(Settings);
  }
};

}  // namespace

TEST_F(FileMgrProcessTest, AKillDuringASaveLeavesEverySectionOldOrNew) {
  WriteSections(0);
  std::vector<int> Known(Sections, 0);
  std::mt19937 Random(12345);
  // A fixed count of kills, each as soon as the child says it finished its K-th save, so the kill
  // lands in the next one: as many saves are cut on a busy machine as on an idle one, only the
  // point inside the save varies with the scheduling.
  constexpr int Kills = 60;
  for (int Kill = 1; Kill <= Kills; ++Kill) {
    const int First = Random() % Sections;
    int Saved[2];
    ASSERT_EQ(pipe(Saved), 0);
    const pid_t Child = Spawn([&] {
      close(Saved[0]);
      // Saves round the sections, each with its next generation, until it is killed.
      for (int N = 0;; ++N) {
        const int S = (First + N) % Sections;
        Mgr.LoadReportSettings("Stress", IdOf(S));
        Stamp(Settings, ++Known[S]);
        Save("Stress", IdOf(S));
        if (write(Saved[1], "s", 1) != 1) return false;
      }
      return true;
    });
    ASSERT_GT(Child, 0);
    close(Saved[1]);
    const int Saves = 1 + static_cast<int>(Random() % 4);
    for (int Done = 0; Done < Saves; ++Done) {
      char Byte = 0;
      ASSERT_EQ(read(Saved[0], &Byte, 1), 1) << "the child stopped saving, kill " << Kill;
    }
    kill(Child, SIGKILL);
    close(Saved[0]);
    ASSERT_EQ(ExitCode(Child), -1) << "the child ended before it was killed";

    ASSERT_EQ(HeaderCount(FileBytes(FileName), "Stress:"), Sections) << "after kill " << Kill;
    int Advanced = 0;
    for (int S = 0; S < Sections; ++S) {
      const int G = LoadGeneration(S);
      ASSERT_GE(G, Known[S]) << "section " << S << " mixes saves or went back, after kill " << Kill;
      Advanced += G - Known[S];
      Known[S] = G;
    }
    ASSERT_GE(Advanced, Saves) << "a save the child reported is lost, after kill " << Kill;
  }
}

TEST_F(FileMgrProcessTest, ProgramsSavingAtTheSameMomentLoseNoSection) {
  WriteSections(0);
  constexpr int Rounds = 25;
  int Go[2];
  ASSERT_EQ(pipe(Go), 0);
  std::vector<pid_t> Children;
  for (int C = 0; C < 3; ++C)
    Children.push_back(Spawn([&, C] {
      close(Go[1]);
      char Byte;
      if (read(Go[0], &Byte, 1) != 0) return false;  // all start when the pipe closes
      // The headless clock does not wait for real, so a busy lock is retried as often as needed.
      for (int I = 0; I < 100000; ++I) Headless::QueueAnswer(MsgBox::IdRetry);
      for (int G = 1; G <= Rounds; ++G) {
        const int S = C * 5 + G % 2;  // two sections of its own
        Mgr.LoadReportSettings("Stress", IdOf(S));
        Stamp(Settings, G);
        Save("Stress", IdOf(S));
        std::string User = "Stress", Id = IdOf(Sections + C * Rounds + G);
        Mgr.SaveReportSettingsSimple(User, Id, false);  // and a new one each time
      }
      return true;
    }));
  close(Go[0]);
  close(Go[1]);
  for (pid_t Child : Children) EXPECT_EQ(ExitCode(Child), 0);

  const std::string Content = FileBytes(FileName);
  EXPECT_EQ(HeaderCount(Content, "Stress:"), Sections + 3 * Rounds);
  for (int S = 0; S < Sections; ++S) {
    const bool Saved = S % 5 <= 1 && S / 5 < 3;
    EXPECT_EQ(LoadGeneration(S), Saved ? (S % 5 == 1 ? Rounds : Rounds - 1) : 0) << "section " << S;
  }
}

// Memo blocks without an END line are the text layer's tests; here, lines of every byte.
TEST_F(FileMgrProcessTest, BrokenInputNeverCostsAnotherSection) {
  std::string Junk;
  for (int C = 0; C < 256; ++C)
    if (C != '\n') Junk += static_cast<char>(C);
  const std::string A = "[A (001.001)]\r\nPrintWhat=2\r\n\r\n";
  const std::string Broken = "[Junk (002.002)]\r\nPrintWhat=3\r\n" + Junk + "\r\n" + std::string(1 << 20, 'X') +
                             "\r\nUnknownKey=5\r\n=\r\n\r\n\r\nReportDesc=after the junk\r\n";
  const std::string Last = "[Last (004.004)]\r\nPrintWhat=5\r\n";
  WriteWholeFile(FileName, A + Broken + Last);
  auto CheckAll = [&] {
    for (const auto& [Id, PrintWhat] : {std::pair{"A (001.001)", 2}, {"Junk (002.002)", 3}, {"Last (004.004)", 5}}) {
      Mgr.LoadReportSettings("", Id);
      EXPECT_EQ(Settings.PrintWhat, PrintWhat) << Id;
    }
    Mgr.LoadReportSettings("", "Junk (002.002)");
    EXPECT_EQ(Settings.ReportDesc, "after the junk");
  };
  CheckAll();
  // Each save rewrites its own section only; the others keep every byte, junk included.
  for (const char* Id : {"A (001.001)", "Last (004.004)"}) {
    Mgr.LoadReportSettings("", Id);
    Save("", Id);
  }
  const std::string Content = FileBytes(FileName);
  EXPECT_EQ(Content.substr(Content.find("[Junk"), Broken.size()), Broken);
  CheckAll();
}
