#ifndef vtkKOVATestSQLite_h
#define vtkKOVATestSQLite_h

// Writes SQLite database files for tests through VTK's SQL module (link VTK::IOSQL):
//   ASSERT_TRUE(vtkKOVATestSQLite::CreateDatabase(path, { "CREATE TABLE t (a INTEGER)" }));

#include <vtkSQLQuery.h>
#include <vtkSQLiteDatabase.h>
#include <vtkSmartPointer.h>

#include <cstdio>
#include <string>
#include <vector>

namespace vtkKOVATestSQLite
{
/// Creates (or replaces) the database file and runs the statements in order. False, with the
/// failing statement on stderr, if a statement fails.
inline bool CreateDatabase(const std::string& path, const std::vector<std::string>& statements)
{
  std::remove(path.c_str());
  auto database = vtkSmartPointer<vtkSQLiteDatabase>::New();
  database->SetDatabaseFileName(path.c_str());
  if (!database->Open("", vtkSQLiteDatabase::CREATE))
  {
    std::fprintf(stderr, "cannot create database %s\n", path.c_str());
    return false;
  }
  for (const std::string& statement : statements)
  {
    vtkSmartPointer<vtkSQLQuery> query;
    query.TakeReference(database->GetQueryInstance());
    if (!query->SetQuery(statement.c_str()) || !query->Execute())
    {
      std::fprintf(stderr,
        "statement failed: %s: %s\n",
        statement.c_str(),
        query->GetLastErrorText() ? query->GetLastErrorText() : "");
      return false;
    }
  }
  database->Close();
  return true;
}
}

#endif
