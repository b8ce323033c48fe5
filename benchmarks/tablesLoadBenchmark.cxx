// Load time of a table of 100,000 rows and 10 columns through the tables logic: from a CSV file
// (with and without column type detection) and from an SQLite database. VTK's delimited text
// reader alone, on the same file, runs beside them for comparison.
//
// Columns: 4 integer, 4 floating-point and 2 text columns; every tenth text value is quoted and
// holds a comma, every hundredth a line break.

#include <vtkVireonTablesLogic.h>

#include <vtkKOVAScene.h>
#include <vtkKOVATableNode.h>

#include <vtkDelimitedTextReader.h>
#include <vtkNew.h>
#include <vtkSQLQuery.h>
#include <vtkSQLiteDatabase.h>
#include <vtkSmartPointer.h>
#include <vtkTable.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace
{
constexpr int Rows = 100000;
constexpr int Columns = 10;

std::string TextValue(int row, int column)
{
  std::string text = "item " + std::to_string(row * 7 + column);
  if (row % 100 == 0)
  {
    return "\"" + text + "\nsecond line\"";
  }
  if (row % 10 == 0)
  {
    return "\"" + text + ", with comma\"";
  }
  return text;
}

/// Writes the benchmark's files once into a temporary folder, removed at exit.
class Files
{
public:
  static Files& Get()
  {
    static Files files;
    return files;
  }
  std::string Csv;
  std::string Database;
  bool Valid = false;

private:
  Files()
  {
    std::string pattern =
      (std::filesystem::temp_directory_path() / "vireon-tables-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
    {
      return;
    }
    this->Folder = pattern;
    this->Csv = this->Folder + "/table.csv";
    this->Database = this->Folder + "/table.db";
    this->Valid = this->WriteCsv() && this->WriteDatabase();
  }
  ~Files()
  {
    if (!this->Folder.empty())
    {
      std::error_code ignored;
      std::filesystem::remove_all(this->Folder, ignored);
    }
  }

  bool WriteCsv()
  {
    std::ofstream file(this->Csv, std::ios::binary);
    file << "i0,i1,i2,i3,d0,d1,d2,d3,t0,t1\n";
    for (int r = 0; r < Rows; ++r)
    {
      for (int c = 0; c < 4; ++c)
      {
        file << (r * 31 + c * 1000003) % 2000000 - 1000000 << ',';
      }
      for (int c = 0; c < 4; ++c)
      {
        file << (r + 0.125 * c) / 3.0 << ',';
      }
      file << TextValue(r, 8) << ',' << TextValue(r, 9) << '\n';
    }
    return static_cast<bool>(file);
  }

  bool WriteDatabase()
  {
    vtkNew<vtkSQLiteDatabase> database;
    database->SetDatabaseFileName(this->Database.c_str());
    if (!database->Open("", vtkSQLiteDatabase::CREATE))
    {
      return false;
    }
    vtkSmartPointer<vtkSQLQuery> query;
    query.TakeReference(database->GetQueryInstance());
    const auto run = [&query](const std::string& statement)
    { return query->SetQuery(statement.c_str()) && query->Execute(); };
    if (!run("CREATE TABLE measurements (i0 INTEGER, i1 INTEGER, i2 INTEGER, i3 INTEGER, "
             "d0 REAL, d1 REAL, d2 REAL, d3 REAL, t0 TEXT, t1 TEXT)") ||
        !run("BEGIN TRANSACTION"))
    {
      return false;
    }
    for (int first = 0; first < Rows; first += 1000)
    {
      std::ostringstream insert;
      insert.precision(17);
      insert << "INSERT INTO measurements VALUES ";
      for (int r = first; r < first + 1000 && r < Rows; ++r)
      {
        insert << (r == first ? "(" : ", (");
        for (int c = 0; c < 4; ++c)
        {
          insert << (r * 31 + c * 1000003) % 2000000 - 1000000 << ", ";
        }
        for (int c = 0; c < 4; ++c)
        {
          insert << (r + 0.125 * c) / 3.0 << ", ";
        }
        insert << "'item " << r * 7 + 8 << "', 'item " << r * 7 + 9 << "')";
      }
      if (!run(insert.str()))
      {
        return false;
      }
    }
    return run("COMMIT");
  }

  std::string Folder;
};

void CheckShape(benchmark::State& state, vtkKOVATableNode* node)
{
  if (!node || node->GetNumberOfRows() != Rows || node->GetNumberOfColumns() != Columns)
  {
    state.SkipWithError("the table did not load with 100,000 rows and 10 columns");
  }
}

void LoadThroughLogic(benchmark::State& state, const std::string& path, bool detect)
{
  if (!Files::Get().Valid)
  {
    state.SkipWithError("cannot write the benchmark files");
    return;
  }
  for (auto _ : state)
  {
    vtkNew<vtkKOVAScene> scene;
    vtkNew<vtkVireonTablesLogic> logic;
    logic->SetKOVAScene(scene);
    vtkKOVATableNode* node = logic->AddTable(path.c_str(), "Measurements", detect);
    CheckShape(state, node);
  }
  state.counters["rows/s"] =
    benchmark::Counter(static_cast<double>(Rows) * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_CsvDetectColumnTypes(benchmark::State& state)
{
  LoadThroughLogic(state, Files::Get().Csv, true);
}

void BM_CsvAllText(benchmark::State& state)
{
  LoadThroughLogic(state, Files::Get().Csv, false);
}

void BM_SQLiteDatabase(benchmark::State& state)
{
  LoadThroughLogic(state, Files::Get().Database, true);
}

/// VTK's reader on the same CSV file, all fields as text (it splits the quoted line breaks into
/// extra records, so its row count is not checked).
void BM_VTKDelimitedTextReaderOnly(benchmark::State& state)
{
  if (!Files::Get().Valid)
  {
    state.SkipWithError("cannot write the benchmark files");
    return;
  }
  for (auto _ : state)
  {
    vtkNew<vtkDelimitedTextReader> reader;
    reader->SetFileName(Files::Get().Csv.c_str());
    reader->SetHaveHeaders(true);
    reader->SetDetectNumericColumns(false);
    reader->Update();
    benchmark::DoNotOptimize(reader->GetOutput()->GetNumberOfRows());
  }
}
}

BENCHMARK(BM_CsvDetectColumnTypes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CsvAllText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SQLiteDatabase)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_VTKDelimitedTextReaderOnly)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
