// The fields a launch uses: macros first, then the environment, and which
// fields of which task type see the environment.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "launch_fields.h"
#include "test_support.h"

namespace kzo {
namespace {

const LaunchTime kWednesday = launchTimeAt(2001, 3, 7, 9, 5);

class LaunchFieldsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SetEnvironmentVariableA("KZO_TEST_DIR", "C:\\kzo")); }
    void TearDown() override { SetEnvironmentVariableA("KZO_TEST_DIR", nullptr); }

    static TaskRecord task(int type, const char* command, const char* folder, const char* onError) {
        TaskRecord r = test::record("t");
        r.type = static_cast<int8_t>(type);
        setField(r.command, command);
        setField(r.folder, folder);
        setField(r.onError, onError);
        return r;
    }

    // Both steps, as a launch thread runs them on its copy.
    static LaunchFields prepared(TaskRecord& copy) {
        expandRecordMacros(copy, kWednesday);
        LaunchFields fields;
        std::memset(&fields, 'x', sizeof fields);
        expandLaunchFields(copy, fields);
        return fields;
    }
};

TEST_F(LaunchFieldsTest, ApplicationAndDocumentFieldsAreExpandedInFull) {
    for (int type : {int{kTypeApplication}, int{kTypeDocument}, 7}) {
        TaskRecord copy = task(type, "%KZO_TEST_DIR%\\run-%KZO.DAY%.exe", "%kzo_test_dir%\\%KZO.MONTH3%",
                               "%KZO_TEST_DIR%\\failed.exe %KZO.YEAR%");
        LaunchFields fields = prepared(copy);
        EXPECT_STREQ("C:\\kzo\\run-07.exe", fields.command) << "type " << type;
        EXPECT_STREQ("C:\\kzo\\MAR", fields.folder) << "type " << type;
        EXPECT_STREQ("C:\\kzo\\failed.exe 2001", fields.onError) << "type " << type;
        // The copy keeps the macro-expanded, not the environment-expanded text.
        EXPECT_STREQ("%KZO_TEST_DIR%\\run-07.exe", copy.command);
        EXPECT_STREQ("%kzo_test_dir%\\MAR", copy.folder);
    }
}

TEST_F(LaunchFieldsTest, MessageAndShutdownCommandsAreSentAsWritten) {
    for (int type : {int{kTypeMessage}, int{kTypeShutdown}}) {
        TaskRecord copy = task(type, "%WINDIR%\\notepad.exe at %KZO.HOUR%", "%KZO_TEST_DIR%",
                               "%KZO_TEST_DIR%\\x.exe");
        LaunchFields fields = prepared(copy);
        EXPECT_STREQ("%WINDIR%\\notepad.exe at 09", fields.command) << "type " << type;
        EXPECT_STREQ("C:\\kzo", fields.folder) << "type " << type;
        EXPECT_STREQ("C:\\kzo\\x.exe", fields.onError) << "type " << type;
    }
}

TEST_F(LaunchFieldsTest, AnUnknownVariableStaysAsWritten) {
    TaskRecord copy = task(kTypeApplication, "%KZO_NO_SUCH_VARIABLE%\\a.exe", "", "");
    LaunchFields fields = prepared(copy);
    EXPECT_STREQ("%KZO_NO_SUCH_VARIABLE%\\a.exe", fields.command);
    EXPECT_STREQ("", fields.folder);
    EXPECT_STREQ("", fields.onError);
}

TEST_F(LaunchFieldsTest, AnExpansionThatDoesNotFitFallsBackToTheMacroExpandedText) {
    ASSERT_TRUE(SetEnvironmentVariableA("KZO_TEST_LONG", std::string(1500, 'L').c_str()));
    TaskRecord copy = task(kTypeApplication, "%KZO_TEST_LONG%%KZO_TEST_LONG% %KZO.DAY%", "", "");
    LaunchFields fields = prepared(copy);
    SetEnvironmentVariableA("KZO_TEST_LONG", nullptr);
    EXPECT_STREQ("%KZO_TEST_LONG%%KZO_TEST_LONG% 07", fields.command);
}

TEST_F(LaunchFieldsTest, AFieldWithoutItsTerminatingZeroIsCutToItsWidth) {
    TaskRecord copy = task(kTypeApplication, "", "", "");
    std::memset(copy.command, 'c', sizeof copy.command);
    std::memset(copy.folder, 'f', sizeof copy.folder);
    std::memset(copy.onError, 'e', sizeof copy.onError);
    copy.edited = 5;
    LaunchFields fields = prepared(copy);
    EXPECT_EQ(std::string(511, 'c'), fields.command);
    EXPECT_EQ(std::string(511, 'f'), fields.folder);
    EXPECT_EQ(std::string(511, 'e'), fields.onError);
    EXPECT_EQ(5, copy.edited) << "the field behind the last one is untouched";
}

}  // namespace
}  // namespace kzo
