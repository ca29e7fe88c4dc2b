#include "calc/problem_texts.h"

#include "calc/calc_texts.h"
#include "platform/text/encoding.h"

namespace calc_text {

namespace {

const char* KindText(xls::ErrorKind kind) {
  using xls::ErrorKind;
  switch (kind) {
    case ErrorKind::NotFound: return "文件不存在";
    case ErrorKind::Syntax: return "程序发出的语句不能执行";
    case ErrorKind::NoSuchSheet: return "工作簿中没有这个工作表";
    case ErrorKind::SheetExists: return "工作簿中已有同名的工作表";
    case ErrorKind::NotAWorkbook: return "文件不是程序能读取的 Excel 工作簿";
    case ErrorKind::IsFolder: return "这是一个文件夹，不是文件";
    case ErrorKind::NotRegularFile: return "这不是普通文件 (而是文件夹、设备或管道)";
    case ErrorKind::AccessDenied: return "没有访问这个文件的权限";
    case ErrorKind::ReadOnly: return "文件是只读的";
    case ErrorKind::InUse: return "文件正被其他程序打开或修改";
    case ErrorKind::DiskFull: return "磁盘空间不足";
    case ErrorKind::CannotKeep: return "工作表中的公式、合并单元格或其他内容引用了要移动的行,添加或删除行会破坏它们";
    case ErrorKind::Failed: break;
  }
  return "文件已损坏或无法读写";
}

const char* RefusalText(TargetRefusal::Kind kind) {
  using Kind = TargetRefusal::Kind;
  switch (kind) {
    case Kind::NotExactName: return "文件名不是有效的文本，无法按原样使用";
    case Kind::NoName: return "没有给出文件名";
    case Kind::NotAWorkbookName: return "计算结果只能保存为 Excel 工作簿 (.xls 或 .xlsx)";
    case Kind::NotRegularFile: return "目标已存在但不是普通文件 (而是文件夹、设备或管道)，保持原样";
    case Kind::InputWorkbook: return "这是读取回路数据的工作簿，结果必须写入另一个文件";
    case Kind::ReadOnly: return "目标文件是只读的";
    case Kind::OtherOutput: return "计算书与计算结果不能写入同一个文件";
  }
  return "";
}

// Detail texts of the lower layers may end in a line feed; one line is enough.
CString WithDetail(const char* text, CString detail) {
  detail.TrimRight();
  if (detail.IsEmpty()) return FromUtf8(text);
  return FromUtf8(text) + " (" + detail + ")";
}

}  // namespace

CString Reason(const xls::Error& error) { return WithDetail(KindText(error.kind), FromUtf8(error.text)); }

CString Reason(const TargetRefusal& refusal) { return WithDetail(RefusalText(refusal.kind), FromUtf8(refusal.detail)); }

CString WorkbookNotFound(const CString& file) { return FromUtf8("找不到工作簿 ") + file; }

CString SheetMissing(const CString& sheet) { return FromUtf8("工作簿中没有工作表“") + sheet + FromUtf8("”"); }

CString SheetUnreadable(const CString& file, const CString& sheet, const xls::Error& error) {
  const CString reason = error.kind == xls::ErrorKind::NoSuchSheet ? SheetMissing(sheet) : Reason(error);
  return FromUtf8("无法读取工作表“") + sheet + FromUtf8("”!\n文件: ") + file + FromUtf8("\n错误: ") + reason;
}

CString NoCircuits(const CString& file) {
  return FromUtf8("工作表“") + CircuitSheet() + FromUtf8("”中没有回路\n文件: ") + file;
}

CString BackupNotWritten(const CString& file, const xls::Error& error) {
  return FromUtf8("未能在工作簿中写入备份工作表“CSpreadSheetBackup”，计算照常进行。\n文件: ") + file +
         FromUtf8("\n原因: ") + Reason(error);
}

CString NameNotExact() { return FromUtf8(RefusalText(TargetRefusal::Kind::NotExactName)); }

CString TargetRefused(const CString& file, const TargetRefusal& refusal) {
  return FromUtf8("文件写入失败!\n文件: ") + file + FromUtf8("\n错误: ") + Reason(refusal);
}

CString UnexpectedFailure(const CString& detail) { return WithDetail("操作意外失败", detail); }

}  // namespace calc_text
