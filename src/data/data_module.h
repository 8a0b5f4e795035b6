// Tdm: the data module, the only component that opens the database folder. Created once
// before any window; every read of the base goes through it. Data texts it gives and takes
// are Windows-1251; file names and messages are UTF-8.
//
// Record pointers from GetRecord and class entries from GetClassEntry stay valid while the
// Tdm lives (callers may rely only on "until the next fetch from the same file").
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/class_object.h"
#include "data/field_table.h"
#include "data/idx_object.h"
#include "data/product_key.h"
#include "data/record.h"
#include "data/record_list.h"
#include "data/remark.h"
#include "data/search_columns.h"

namespace zorel {

// The fields of factory.dat's header.
struct FactoryHeader {
  std::int32_t baseDay = 0;   // days since 30 December 1899; 0 and 1 mean no date
  std::string kindSeparator;  // one character
  std::string edition;
  std::vector<std::string> kindLabels;  // 5 characters each, as stored
  std::int32_t dataStart = 0;           // offset of the first record
};

class Tdm {
 public:
  // Opens the folder (default "../db/", relative to the current directory) in the start-up
  // order: dictionaries, factory.dat header, factory index, item index, class table, search
  // file (built when missing or stale), remark store. Throws DataError on failure: the program's
  // message, then the path and the system's reason on a second line.
  explicit Tdm(const std::string& dbDir = "../db/");
  ~Tdm();
  Tdm(const Tdm&) = delete;
  Tdm& operator=(const Tdm&) = delete;

  std::int32_t RecordCount() const { return factory_->Count(); }
  std::int32_t ItemCount() const { return items_->Count(); }

  // Null for a number outside the base or a record that cannot be served whole.
  const std::uint8_t* GetRecord(std::int32_t record) const { return factory_->Get(record); }
  RecordView GetRecordView(std::int32_t record) const {
    return RecordView::FromEntry(factory_->Get(record));
  }

  // The name cut at the first zero byte; "Проблемы на записи (N)" (Windows-1251) when the
  // record cannot be read.
  std::string GetFirmName(std::int32_t record) const;
  std::string GetEMail(std::int32_t record) const;
  bool HasAdvert(std::int32_t record) const;
  // Empty for an item outside item.dat.
  std::string GetItemName(std::int64_t item) const { return std::string(ItemName(item)); }
  std::string_view ItemName(std::int64_t item) const;
  const std::uint8_t* GetClassEntry(std::int32_t position) const { return classes_->Get(position); }
  std::string GetRemark(std::int32_t record) const;  // empty on any error
  // Throws DataError, with the reason, when the remark cannot be stored; nothing stored is lost.
  void SetRemark(std::int32_t record, const std::string& text);
  TRemark& Remarks() { return *remarks_; }
  const TRemark& Remarks() const { return *remarks_; }

  // 0-based dictionary lookups; outside the list gives empty text.
  std::string GetKindLabel(int index) const { return Lookup(header_.kindLabels, index); }
  std::string GetEntry(FieldDictionary dictionary, int index) const {
    return Lookup(Dictionary(dictionary), index);
  }
  // The list a coded field's value points into; empty for None.
  const std::vector<std::string>& Dictionary(FieldDictionary dictionary) const;

  const std::vector<std::string>& OrgForms() const { return orgForms_; }
  const std::vector<std::string>& Regions() const { return regions_; }
  const std::vector<std::string>& Countries() const { return countries_; }
  const std::vector<std::string>& Operators() const { return operators_; }  // UTF-8
  const FactoryHeader& Header() const { return header_; }

  void FillAllRecords(RecordList& list) const;
  // The factory index, for readers that walk many records (the matcher's readahead).
  const TIdxObject& FactoryIndex() const { return *factory_; }
  // Gives the read pages of factory.dat back to the system (see ByteSource::ReleaseResident).
  void ReleaseResidentRecords() const { factory_->Data().ReleaseResident(); }
  // The search file's columns, or null when the searches must read the records.
  const SearchColumns* Columns() const { return columns_.get(); }

  // The title stripped of blanks and control characters, a blank and the edition (UTF-8).
  std::string TitleWithEdition(std::string_view title) const;

  const std::string& DbDir() const { return dbDir_; }
  const std::string& FactoryName() const { return factoryName_; }
  const std::string& ListsDir() const { return listsDir_; }  // DbDir's sibling "lists/"
  const std::string& FormsDir() const { return formsDir_; }  // DbDir's sibling "rpt/"

  // What the user must be told once (UTF-8): records that cannot be served, copies kept of
  // damaged remark files. Taking them empties the list.
  std::vector<std::string> TakeNotices();

 private:
  static std::string Lookup(const std::vector<std::string>& list, int index);
  void ReadHeader();
  // factory.dat, item.dat, their index files and the search file, all of one state of the base.
  void OpenRecords();
  void CountUnservedRecords();

  std::string dbDir_, factoryName_, itemName_, classFileName_, remarkName_, listsDir_, formsDir_;
  FactoryHeader header_;
  std::vector<std::string> regions_, orgForms_, countries_, operators_;
  std::unique_ptr<TIdxObject> factory_;
  std::unique_ptr<TIdxObject> items_;
  std::unique_ptr<TClassObject> classes_;
  std::unique_ptr<SearchColumns> columns_;
  std::unique_ptr<TRemark> remarks_;
  std::vector<std::string> notices_;
};

}  // namespace zorel
