#include "vtkVireonTablesLogic.h"

#include <vtkKOVAMessageCollection.h>
#include <vtkKOVAScene.h>
#include <vtkKOVAStorageNode.h>
#include <vtkKOVATableNode.h>
#include <vtkKOVATableSQLiteStorageNode.h>
#include <vtkKOVATableStorageNode.h>

#include <vtkNew.h>
#include <vtkObjectFactory.h>
#include <vtkSQLDatabase.h>
#include <vtkSQLiteDatabase.h>
#include <vtkSmartPointer.h>
#include <vtkStringArray.h>

#include <string>
#include <vector>

vtkStandardNewMacro(vtkVireonTablesLogic);

namespace
{
bool IsDatabaseExtension(const std::string& extension)
{
  return extension == ".db" || extension == ".db3" || extension == ".sqlite" ||
         extension == ".sqlite3";
}
}

vtkVireonTablesLogic::vtkVireonTablesLogic() = default;
vtkVireonTablesLogic::~vtkVireonTablesLogic() = default;

//------------------------------------------------------------------------------
void vtkVireonTablesLogic::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

//------------------------------------------------------------------------------
vtkKOVATableNode* vtkVireonTablesLogic::AddTable(const char* fileName,
  const char* tableName,
  bool detectColumnTypes,
  const char* password,
  vtkKOVAMessageCollection* userMessages)
{
  vtkKOVAScene* scene = this->GetKOVAScene();
  if (!scene)
  {
    vtkErrorMacro("vtkVireonTablesLogic::AddTable failed: scene is invalid");
    return nullptr;
  }
  if (!fileName)
  {
    vtkErrorMacro("vtkVireonTablesLogic::AddTable failed: fileName is invalid");
    return nullptr;
  }
  const std::string extension = vtkKOVAStorageNode::GetLowercaseExtensionFromFileName(fileName);
  if (extension.empty())
  {
    vtkErrorMacro("AddTable: no file extension specified: " << fileName);
    return nullptr;
  }
  if (IsDatabaseExtension(extension))
  {
    return this->AddTablesFromDatabase(fileName, password, userMessages);
  }

  vtkNew<vtkKOVATableStorageNode> storageNode;
  storageNode->SetFileName(fileName);
  storageNode->SetDetectColumnTypes(detectColumnTypes);
  scene->AddNode(storageNode);

  vtkNew<vtkKOVATableNode> tableNode;
  if (tableName && *tableName)
  {
    tableNode->SetName(tableName);
  }
  scene->AddNode(tableNode);

  const bool success = storageNode->ReadData(tableNode, false) != 0;
  if (userMessages)
  {
    userMessages->AddMessages(storageNode->GetUserMessages(), "");
  }
  if (!success)
  {
    vtkErrorMacro(
      "vtkVireonTablesLogic::AddTable failed: failed to read data from file: " << fileName);
    scene->RemoveNode(storageNode);
    scene->RemoveNode(tableNode);
    return nullptr;
  }
  return tableNode;
}

//------------------------------------------------------------------------------
vtkKOVATableNode* vtkVireonTablesLogic::AddTablesFromDatabase(const char* fileName,
  const char* password,
  vtkKOVAMessageCollection* userMessages)
{
  vtkKOVAScene* scene = this->GetKOVAScene();
  const std::string url = std::string("sqlite://") + fileName;
  vtkSmartPointer<vtkSQLDatabase> database;
  database.TakeReference(vtkSQLDatabase::CreateFromURL(url.c_str()));
  vtkSQLiteDatabase* sqliteDatabase = vtkSQLiteDatabase::SafeDownCast(database);
  if (!sqliteDatabase ||
      !sqliteDatabase->Open(password ? password : "", vtkSQLiteDatabase::USE_EXISTING))
  {
    vtkErrorMacro("Failed to read tables from " << fileName);
    return nullptr;
  }
  // SQLite opens any existing file; a file that is not a database fails when listing its tables.
  vtkStringArray* tables = sqliteDatabase->GetTables();
  if (!tables || sqliteDatabase->HasError())
  {
    vtkErrorMacro("Failed to read tables from " << fileName);
    return nullptr;
  }
  std::vector<std::string> tableNames;
  for (vtkIdType i = 0; i < tables->GetNumberOfValues(); ++i)
  {
    tableNames.push_back(tables->GetValue(i));
  }

  vtkKOVATableNode* lastTableNode = nullptr;
  for (const std::string& name : tableNames)
  {
    vtkNew<vtkKOVATableSQLiteStorageNode> storageNode;
    storageNode->SetFileName(fileName);
    storageNode->SetTableName(name.c_str());
    scene->AddNode(storageNode);

    vtkNew<vtkKOVATableNode> tableNode;
    tableNode->SetName(name.c_str());
    scene->AddNode(tableNode);

    if (!storageNode->ReadData(tableNode, false))
    {
      vtkErrorMacro("Failed to read tables from " << fileName);
      scene->RemoveNode(storageNode);
      scene->RemoveNode(tableNode);
      if (userMessages)
      {
        userMessages->AddMessages(storageNode->GetUserMessages(), "");
      }
      return nullptr;
    }
    lastTableNode = tableNode;
  }
  return lastTableNode;
}

//------------------------------------------------------------------------------
int vtkVireonTablesLogic::GetLayoutWithTable(int currentLayout)
{
  switch (currentLayout)
  {
    case 4:
      return 35;
    case 34:
    case 35:
    case 38:
      return currentLayout;
    case 36:
    case 37:
    case 39:
    case 40:
      return 38;
    default:
      return 34;
  }
}
