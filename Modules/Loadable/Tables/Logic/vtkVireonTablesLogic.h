#ifndef vtkVireonTablesLogic_h
#define vtkVireonTablesLogic_h

#include "vtkVireonTablesModuleLogicExport.h"

#include <vtkVireonModuleLogic.h>

class vtkKOVAMessageCollection;
class vtkKOVATableNode;

/// Logic of the tables module: loads tables from files into the scene, and picks a view layout
/// that shows a table.
class VTKVIREONTABLESMODULELOGIC_EXPORT vtkVireonTablesLogic : public vtkVireonModuleLogic
{
public:
  static vtkVireonTablesLogic* New();
  vtkTypeMacro(vtkVireonTablesLogic, vtkVireonModuleLogic);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// Loads tables from \a fileName into the scene.
  ///
  /// A database file (extension ".db", ".db3", ".sqlite" or ".sqlite3", in any case) adds one
  /// table node, named after the table, with its SQLite storage node for every table of the
  /// database, and returns the last one (null for a database without tables); \a tableName is
  /// not used. If a table fails to read, its two nodes are removed again, the tables read before
  /// it stay, its storage node's messages are appended to \a userMessages and null is returned.
  ///
  /// Any other file is read as one delimited text table (\a detectColumnTypes is handed to the
  /// table storage node) into a table node named \a tableName, or named by the scene when it is
  /// null or empty. The storage node's messages are appended to \a userMessages in every case;
  /// on failure both nodes are removed again and null is returned.
  ///
  /// The returned node belongs to the scene. \a password opens the database (the empty string
  /// when null).
  vtkKOVATableNode* AddTable(const char* fileName,
    const char* tableName = nullptr,
    bool detectColumnTypes = true,
    const char* password = nullptr,
    vtkKOVAMessageCollection* userMessages = nullptr);

  /// The layout to switch to so that a table view shows, given the current layout.
  static int GetLayoutWithTable(int currentLayout);

protected:
  vtkVireonTablesLogic();
  ~vtkVireonTablesLogic() override;

  vtkKOVATableNode* AddTablesFromDatabase(const char* fileName,
    const char* password,
    vtkKOVAMessageCollection* userMessages);

private:
  vtkVireonTablesLogic(const vtkVireonTablesLogic&) = delete;
  void operator=(const vtkVireonTablesLogic&) = delete;
};

#endif
