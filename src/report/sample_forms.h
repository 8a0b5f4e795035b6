// The two print forms shipped with the program, built here and written into the forms folder
// by the project's own writer: address labels in two columns, and an enterprise card with
// frames.
#pragma once

#include <memory>
#include <string>

#include "report/report.h"

namespace zorel {

std::unique_ptr<TReport> AddressLabelsForm();
std::unique_ptr<TReport> EnterpriseCardForm();

// Writes both into dir as "Адресные наклейки.rpt" and "Карточка предприятия.rpt"; throws
// FormError.
void WriteSampleForms(const std::string& dir);

}  // namespace zorel
