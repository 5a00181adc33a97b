#include "samplers/process_naming.h"

#include <gtest/gtest.h>

namespace glintdeck {
namespace {

TEST(ProcessNamingTest, NamesAProcessAfterTheProgramItRuns) {
    struct Row {
        const char* path;
        const char* command;
        const char* expected;
    };
    for (const Row& row : {
             Row{"/Applications/Mail.app/Contents/MacOS/Mail", "Mail", "Mail"},
             // the outermost bundle names every helper inside it
             Row{"/Applications/Mail.app/Contents/XPCServices/Agent.xpc/Contents/MacOS/Agent",
                 "Agent", "Mail"},
             Row{"/System/Library/Frameworks/WebKit.framework/XPCServices/"
                 "com.apple.WebKit.WebContent.xpc/Contents/MacOS/com.apple.WebKit.WebContent",
                 "com.apple.WebKit", "Web Content"},
             Row{"/System/Library/Extensions/Widgets.appex/Contents/MacOS/Widgets", "W", "Widgets"},
             Row{"/usr/libexec/some-daemon", "some-daemo", "some-daemon"},
             Row{"/opt/tool/2.1/bin/run", "run", "run"},
             Row{"/opt/tool/2.1/bin", "tool", "tool"},
             // nothing but generic components: the last one after all
             Row{"/bin", "sh", "bin"},
             Row{"/usr/lib/jvm/java-17-openjdk-amd64/bin/java", "java", "java"},
             Row{"/snap/slack/132/usr/lib/slack/slack", "slack", "slack"},
             Row{"/usr/bin/python3.11", "python3", "python3.11"},
             // no path (kernel threads, other users' processes): the command
             Row{"", "kworker/0:1-events", "kworker/0:1-events"},
             Row{"///", "odd", "odd"},
         }) {
        EXPECT_EQ(displayName(row.path, row.command), row.expected) << row.path;
    }
}

TEST(ProcessNamingTest, ServiceIdentifiersReadAsWords) {
    for (const auto& [identifier, expected] : std::vector<std::pair<const char*, const char*>>{
             {"com.apple.WebKit.WebContent", "Web Content"},
             {"com.example.XPCService", "XPCService"},  // runs of capitals stay together
             {"com.example.sync2Helper", "sync2 Helper"},
             {"plain", "plain"},
             {"trailing.dot.", "dot"},
             {"...", "..."},
         }) {
        EXPECT_EQ(serviceName(identifier), expected) << identifier;
    }
}

}  // namespace
}  // namespace glintdeck
