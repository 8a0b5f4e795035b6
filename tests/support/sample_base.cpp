#include "support/sample_base.h"

#include <stdexcept>

#include "data/record_details.h"
#include "data/text1251.h"

namespace zorel::test_support {

std::string W(const std::string& utf8) {
  auto s = FromUtf8(utf8);
  if (!s) throw std::runtime_error("no Windows-1251 form: " + utf8);
  return *s;
}

BaseSource SampleBase() {
  BaseSource b;
  b.baseDay = 45000;
  b.edition = W("2003");
  b.kindLabels = {W("пр-во"), W("опт  "), W("торг ")};
  b.regions = {W("Минская обл."), W("Брестская обл."), W("Московская обл.")};
  b.orgForms = {W("ОАО"), W("оао"), W("ОАО Плюс"), W("ЗАО")};
  b.countries = {W("Беларусь"), W("Россия"), W("Украина")};
  b.branches = {W("Машиностроение")};
  b.items = {W("Станки"),           W("станок токарный"), W("болт м12"),     W("анкерный болт"),
             W("Станок фрезерный"), W("гайка"),           W("1С-программа"), W("цемент")};
  // Codes: 1 (Станки) > 1.1 (станок токарный) > 1.1.1 (болт м12) ...; 2 (гайка) with a hidden
  // child.
  b.classes = {
      {1, 1, {1, 0, 0, 0, 0}, 2, 1}, {2, 2, {1, 1, 0, 0, 0}, 2, 1}, {3, 3, {1, 1, 1, 0, 0}, 2, 2},
      {4, 4, {1, 1, 1, 1, 0}, 2, 2}, {5, 5, {1, 1, 1, 1, 1}, 1, 1}, {6, 6, {2, 0, 0, 0, 0}, 2, 3},
      {7, 8, {2, 3, 0, 0, 0}, 0, 3}, {8, 7, {2, 4, 0, 0, 0}, 1, 0},
  };
  EnterpriseSource e0;
  e0.name = W("Минский ЗАВОД");
  e0.address = W("ул. Ленина, 1");
  e0.head = W("Иванов И.И.");
  e0.fax = W("222-33-44");
  e0.phones = W("222-33-45");
  e0.advert = W("Лучшие станки");
  e0.email = "info@zavod.by";
  e0.url = "www.zavod.by";
  e0.orgForm = 2;
  e0.year = 1995;
  e0.region = 1;
  e0.staff = 1200;
  e0.index = "220000";
  e0.cityCode = "017";
  e0.country = 1;
  e0.products = {{1, 2}, {2, 3}};
  EnterpriseSource e1;
  e1.name = W("Брестский комбинат");
  e1.orgForm = 3;
  e1.year = 1990;
  e1.country = 3;
  e1.products = {{3, 6}};
  EnterpriseSource e2;
  e2.name = W("Станкостроитель");
  e2.staff = 15;
  b.enterprises = {e0, e1, e2};
  return b;
}

BaseSource BaseWithAddresses(const std::vector<std::string>& addresses) {
  BaseSource base = SampleBase();
  const EnterpriseSource model = base.enterprises.front();
  base.enterprises.clear();
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    EnterpriseSource e = model;
    e.name = "Firm " + std::to_string(i);
    e.email = addresses[i];
    base.enterprises.push_back(e);
  }
  return base;
}

std::string DetailsText(const Tdm& dm, std::int32_t record) {
  const RecordDetails d = GetDetails(dm, record);
  std::string text = d.name;
  for (const std::string* field :
       {&d.orgform, &d.year, &d.staff, &d.index, &d.location, &d.address, &d.head, &d.code, &d.fax,
        &d.phones, &d.email, &d.url, &d.advert, &d.products, &d.remark}) {
    text += "|" + *field;
  }
  return ToUtf8(text);
}

}  // namespace zorel::test_support
