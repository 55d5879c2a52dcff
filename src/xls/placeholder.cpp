// Replaced by the workbook writer.
