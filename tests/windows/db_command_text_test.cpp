// The attach statement built from the program's folder, and the scan of
// command texts for named parameters.
#include <gtest/gtest.h>

#include "db/AttachStatement.h"
#include "db/CommandParameters.h"

using namespace kestu::db;

TEST(AttachStatement, FolderIsCutAfterTheLastBackslashOrColon) {
  EXPECT_EQ(FolderOf(L"C:\\Setup\\KestuSetup.exe"), L"C:\\Setup\\");
  EXPECT_EQ(FolderOf(L"D:\\KestuSetup.exe"), L"D:\\");
  EXPECT_EQ(FolderOf(L"D:KestuSetup.exe"), L"D:");
  EXPECT_EQ(FolderOf(L"\\\\host\\share\\a.b\\KestuSetup.exe"), L"\\\\host\\share\\a.b\\");
  EXPECT_EQ(FolderOf(L"KestuSetup.exe"), L"");
}

TEST(AttachStatement, TextForTypicalFolders) {
  EXPECT_EQ(AttachStatement(L"C:\\Setup\\"),
            L"EXEC sp_attach_db @dbname = N'Kestu',@filename1 = N'C:\\Setup\\Kestu_Data.MDF',"
            L"@filename2 = N'C:\\Setup\\Kestu_Log.LDF'");
  EXPECT_EQ(AttachStatement(L"D:\\"),
            L"EXEC sp_attach_db @dbname = N'Kestu',@filename1 = N'D:\\Kestu_Data.MDF',"
            L"@filename2 = N'D:\\Kestu_Log.LDF'");
  EXPECT_EQ(AttachStatement(L"E:\\印务\\安装\\"),
            L"EXEC sp_attach_db @dbname = N'Kestu',@filename1 = N'E:\\印务\\安装\\Kestu_Data.MDF',"
            L"@filename2 = N'E:\\印务\\安装\\Kestu_Log.LDF'");
}

TEST(AttachStatement, ApostropheInTheFolderStaysInsideTheLiteral) {
  const String text = AttachStatement(L"C:\\Bob's',N'x\\");
  EXPECT_EQ(text,
            L"EXEC sp_attach_db @dbname = N'Kestu',@filename1 = N'C:\\Bob''s'',N''x\\Kestu_Data.MDF',"
            L"@filename2 = N'C:\\Bob''s'',N''x\\Kestu_Log.LDF'");
  // Still three literals: the doubled quotes never end one.
  EXPECT_TRUE(ParseCommandText(text).names.empty());
}

TEST(AttachStatement, ProgramPathIsThisTestProgram) {
  const String path = ProgramPath();
  EXPECT_NE(path.find(L"db_command_text_test.exe"), String::npos) << std::string(path.begin(), path.end());
  EXPECT_EQ(FolderOf(path).back(), L'\\');
}

TEST(ParameterScan, AttachTextHasNoParameterAndPassesUnchanged) {
  const String text = AttachStatement(L"C:\\Setup\\");
  const ParsedCommandText parsed = ParseCommandText(text);
  EXPECT_TRUE(parsed.names.empty());
  EXPECT_EQ(parsed.driverText, text);
}

TEST(ParameterScan, NamedMarkersOutsideQuotesOnly) {
  const ParsedCommandText parsed = ParseCommandText(
      L"UPDATE t SET a=:first, b = ':inside', c = \"x:y\" WHERE d=:second_2 AND e::int = :first");
  ASSERT_EQ(parsed.names.size(), 3u);
  EXPECT_EQ(parsed.names[0], L"first");
  EXPECT_EQ(parsed.names[1], L"second_2");
  EXPECT_EQ(parsed.names[2], L"first");
  EXPECT_EQ(parsed.driverText,
            L"UPDATE t SET a=?, b = ':inside', c = \"x:y\" WHERE d=? AND e:int = ?");
}

TEST(ParameterScan, DoubledQuotesAndBareColons) {
  EXPECT_TRUE(ParseCommandText(L"SELECT 'it''s :not' , ':'").names.empty());
  EXPECT_TRUE(ParseCommandText(L"SELECT 1 : 2, 3:").names.empty());
  // A quote left open hides everything after it.
  EXPECT_TRUE(ParseCommandText(L"SELECT 'open :a").names.empty());
  const ParsedCommandText after = ParseCommandText(L"SELECT 'a''b', :p");
  ASSERT_EQ(after.names.size(), 1u);
  EXPECT_EQ(after.names[0], L"p");
}
