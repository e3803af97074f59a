#include <gtest/gtest.h>

#include <QSignalSpy>
#include <vector>

#include "session/run_session.h"
#include "support/frames.h"

namespace korimet {
namespace {

using test::runWithLaps;

NewRun newRun(const LapData& data, RunOrigin origin, const QString& file = {}) {
    NewRun run;
    run.data = data;
    run.origin = origin;
    run.fileName = file;
    return run;
}

TEST(RunSessionAlone, WhereARunCameFromDecidesWhatFileSaveWritesTo) {
    const struct {
        RunOrigin origin;
        const char* file;
        const char* savesTo;
    } cases[] = {
        {RunOrigin::File, "/runs/a.krt", "/runs/a.krt"},
        {RunOrigin::Library, "/lib/b.krt", "/lib/b.krt"},
        {RunOrigin::Timer, "", ""},
        // The template is read from a file but is nobody's run to save back to.
        {RunOrigin::Template, "/work/hinagata.krt", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        RunSession session;
        session.setCurrentFileName("/before.krt");
        session.replaceRun(newRun(runWithLaps({61.0}), c.origin, c.file));
        EXPECT_EQ(session.currentFileName(), QString::fromUtf8(c.savesTo));
        EXPECT_EQ(session.sourceFileName(), QString::fromUtf8(c.file));
        EXPECT_EQ(session.origin(), c.origin);
    }
}

TEST(RunSessionAlone, CaptionsAndMemoLeftOutStayAsTheyWere) {
    RunSession session;
    NewRun first = newRun(runWithLaps({60.0}), RunOrigin::File, "/a.krt");
    first.memo = "dry track";
    first.modelCaption = "Load Data";
    first.sourceCaption = "/a.krt";
    session.replaceRun(first);

    // A download of a model without a name of its own: the model caption and memo stay.
    NewRun download = newRun(runWithLaps({59.0}), RunOrigin::Timer);
    download.sourceCaption = "Ver1.2";
    session.replaceRun(download);
    EXPECT_EQ(session.memo(), "dry track");
    EXPECT_EQ(session.modelCaption(), "Load Data");
    EXPECT_EQ(session.sourceCaption(), "Ver1.2");
    EXPECT_EQ(session.currentData(), runWithLaps({59.0}));
}

TEST(RunSessionAlone, EachChangeIsAnnouncedOnceWithEverythingInPlace) {
    RunSession session;
    std::vector<QString> heard;
    QObject::connect(&session, &RunSession::memoChanged, [&](const QString& memo) {
        heard.push_back("memo " + memo + " file " + session.currentFileName());
    });
    QObject::connect(&session, &RunSession::runReplaced, [&](const RunChange& change) {
        heard.push_back("run " + change.fileName + " memo " + session.memo());
    });
    QObject::connect(&session, &RunSession::comparisonReplaced, [&](const QString& file) {
        heard.push_back("comparison " + file + (session.hasComparison() ? " held" : " missing"));
    });

    NewRun run = newRun(runWithLaps({60.0}), RunOrigin::File, "a.krt");
    run.memo = "wet";
    session.replaceRun(run);
    session.setMemo("wet");  // no change, no word
    session.setMemo("drying");
    session.replaceComparison(viewRun(runWithLaps({62.0})), "b.krt");
    session.replaceRun(newRun(runWithLaps({61.0}), RunOrigin::Timer));  // memo untouched

    EXPECT_EQ(heard, (std::vector<QString>{"memo wet file a.krt", "run a.krt memo wet",
                                           "memo drying file a.krt", "comparison b.krt held",
                                           "run  memo drying"}));
    // The comparison belonged to the run it was made against.
    EXPECT_FALSE(session.hasComparison());
    EXPECT_TRUE(session.comparisonFileName().isEmpty());
}

}  // namespace
}  // namespace korimet
