#pragma once

// Listings of the two folders of record files into the main window's hidden
// list `List1`, which hands the files over to the import and to the list of
// imported records. Each listing starts from an empty `List1`.

// Entries added by the latest listing of each folder.
extern int FicherosImportados;
extern int FicherosTemporales;

// Lists the fetched files (ContratosImp) and tells how many were found.
void BuscarImportados();
// Lists the imported files waiting for a contract (ContratosTemp); tells
// only when there is none.
void BuscarTemporales();
