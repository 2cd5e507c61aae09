// The record families: how a record is addressed and which loads it supports.
#pragma once

#include <cstdint>

#include "score/tc_base_data.h"

class TCCell;

// A record addressed by one number (bytes 0-1) and an inci (bytes 2-3).
class __TCOther : public __TCBaseData {
 public:
  using __TCBaseData::__TCBaseData;
  const char* ClassName() const override { return "__TCOther"; }

  // address = (number, inci 0), then load
  virtual bool Load(int16_t number);
  // address = (number, inci 0), then Save()
  virtual bool SaveAs(int16_t number);
  virtual bool SaveTo(int16_t number);
  // Creates a new record from this one; the host fills in its address.
  virtual bool SaveNew();
  virtual int16_t GetNumber() const;

 protected:
  // TX_CreateEData with the current address.
  bool CreateData();
};

// One record per number; the first record is number 1.
class __TCNoInciOther : public __TCOther {
 public:
  using __TCOther::__TCOther;
  const char* ClassName() const override { return "__TCNoInciOther"; }
  bool LoadFirst() override;
};

// Several records per number, told apart by their inci.
class __TCInciOther : public __TCOther {
 public:
  using __TCOther::__TCOther;
  const char* ClassName() const override { return "__TCInciOther"; }

  virtual bool Load(int16_t number, int16_t inci);
  // address = (number, -1); the host appends the record and fills in its inci
  virtual bool SaveNew(int16_t number);
  int16_t GetInci() const { return GetAddressSecond(); }

 private:
  // The single-number operations do not apply to this family.
  using __TCOther::Load;
  using __TCOther::SaveAs;
  using __TCOther::SaveNew;
  using __TCOther::SaveTo;
};

// A detail record addressed by two numbers (bytes 0-1, 2-3) and an inci (4-5).
class __TCDetail : public __TCBaseData {
 public:
  using __TCBaseData::__TCBaseData;
  const char* ClassName() const override { return "__TCDetail"; }

  // Both numbers and the inci 0, then the host's next record.
  bool LoadFirst() override;
  virtual bool Load(int16_t firstNumber, int16_t secondNumber, int16_t inci);
  // address = (first, second, inci -1), then TX_CreateEData; false when not loaded
  virtual bool SaveNew(int16_t firstNumber, int16_t secondNumber);
  int16_t GetFirstNumber() const { return GetAddressFirst(); }
  int16_t GetSecondNumber() const { return GetAddressSecond(); }
  int16_t GetInci() const { return GetAddressThird(); }
};

// A detail record with one record per number pair (inci 0).
class __TCNoInciDetail : public __TCDetail {
 public:
  using __TCDetail::__TCDetail;
  const char* ClassName() const override { return "__TCNoInciDetail"; }

  virtual bool Load(int16_t firstNumber, int16_t secondNumber);
  using __TCDetail::Load;
};

// A detail attached to one cell (staff, measure), loaded for that cell.
class __TCCellDetail : public __TCBaseData {
 public:
  using __TCBaseData::__TCBaseData;
  const char* ClassName() const override { return "__TCCellDetail"; }

  // address = (cell's staff, cell's measure, inci 0), then load; false without a cell
  bool LoadFirst() override;
  bool LoadNext() override;  // false
  // Not owned.
  void SetCell(TCCell* cell) { cell_ = cell; }
  TCCell* GetCell() const { return cell_; }

 private:
  TCCell* cell_ = nullptr;
};

class __TCNoInciCellDetail : public __TCCellDetail {
 public:
  using __TCCellDetail::__TCCellDetail;
  const char* ClassName() const override { return "__TCNoInciCellDetail"; }
};

// Document preference records, addressed by one number.
class __TCPrefsBase : public __TCBaseData {
 public:
  using __TCBaseData::__TCBaseData;
  const char* ClassName() const override { return "__TCPrefsBase"; }

  virtual bool Load(int16_t number);
  bool LoadFirst() override;  // Load(1)
};
