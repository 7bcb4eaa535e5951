#pragma once

#include "Catalogo.h"
#include "Copias.h"
#include "DocumentFiles.h"

#include "platform/Document.h"
#include "platform/FlexGrid.h"

#include <QDir>
#include <QTest>

#include <memory>

// Contract production as far as a produced document: the types "TEMPORAL"
// with the contract "401 - Obra" and "PRORROGA" with "402 - Prórroga", both on
// the model "OBRA" and its rich-text template, two clauses, and the working
// copies in a temporary folder of the case's own.
class GeneradorTest : public ProduccionTest {
protected:
    static constexpr const char* kPlantilla = "C:\\Quelvan\\Dorvane\\Obra.rtf";

    GeneradorTest()
    {
        const int idModelo = modelo(u("OBRA"), u("obra.RTF"));
        idContrato = contrato(tipo(u("TEMPORAL")), u("401"), u("Obra"),
                              u("OBRA"));
        contrato(tipo(u("PRORROGA")), u("402"), u("Prórroga"),
                 u("OBRA"));
        for (const char* codigo : {"0002", "0076", "0102", "0115", "0116", "0250", "0222", "0223"})
            marcaDeModelo(idModelo, QString::fromLatin1(codigo), u("DATO ") + QString::fromLatin1(codigo),
                          QLatin1String(codigo) == QLatin1String("0102") ? u("2") : u("1"));
        for (const char* clausula : {"Periodo de prueba.", "Horas extra."})
            insertar("Clausulas", {{"Clausula", QString::fromUtf8(clausula)}});
        writeFile(kPlantilla, plantilla());
    }
    // The template: the marks 0002, 0076, 0102 (twice), 0115, 0116, 0222,
    // 0223 and 0250, the fixed bookmarks and all those of the copia básica;
    // `sin` is left out.
    static QByteArray plantilla(const QString& sin = {})
    {
        using namespace testing_support;
        const auto marcadores = [&](const QString& rotulo, QStringList nombres) {
            nombres.removeAll(sin);
            Paragraph p{text(rotulo)};
            for (const QString& nombre : nombres)
                p.insert(p.end(), {text(u(" ")), start(nombre), end(nombre)});
            return p;
        };
        SampleDocument d;
        d.body = {marcadores(u("CONTRATO"), {"Basica"}),
                  marcadores(u("Código:"), {"Nombre"}),
                  marcadores(u("Empresa:"), {"M0002"}),
                  marcadores(u("Trabajador:"), {"M0102", "M0115", "B0115", "M0116", "B0116", "B0111", "B0136",
                                                "B0380", "B0105", "B0106", "B0462"}),
                  marcadores(u("Salario y fechas:"), {"M0250", "M0076", "M0222", "M0223"}),
                  marcadores(u("Firma:"), {"M2102", "BPIE1", "BPIE2"}),
                  {start("Clausula1"), end("Clausula1"), text("Fin de las cláusulas.")},
                  marcadores(u("Lugar y fecha:"), {"Dato1", "Dato2", "Dato3", "Dato4"}),
                  marcadores(u("Pie:"), {"BPIE11", "BPIE22"})};
        return toRtf(d);
    }

    // The window opened from the imported-records list, the contract chosen.
    frmEleccionContrato& desdeImportados(const QString& tipoContrato, const QString& contratoCaption)
    {
        auto& form = abrirDesdeImportados(u("00001"), u("00012"));
        elegir(form, tipoContrato, contratoCaption);
        responderCopias(form);
        return form;
    }
    void responderCopias(frmEleccionContrato& form)
    {
        copias = std::make_unique<testing_support::CopiesAnswerer>(form.fraDatosImprimir, form.txtNumeroCopias,
                                                                   form.cmdCopias);
    }
    // Clicks the value of a mark in the grid and types it.
    static void escribirMarca(frmEleccionContrato& form, const QString& codigo, const QString& valor)
    {
        platform::FlexGrid& g = *form.mshMarcas;
        for (int r = 1; r < g.Rows(); ++r) {
            if (g.TextMatrix(r, 0) == codigo) {
                QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, g.visualRect(g.model()->index(r, 2)).center());
                teclear(&g, valor);
                return;
            }
        }
        ADD_FAILURE() << "no mark " << codigo.toStdString();
    }
    static void ponerMarca(frmEleccionContrato& form, const char* codigo, const char* valor)
    {
        for (int r = 1; r < form.mshMarcas->Rows(); ++r) {
            if (form.mshMarcas->TextMatrix(r, 0) == QLatin1String(codigo))
                form.mshMarcas->setTextMatrix(r, 2, QString::fromUtf8(valor));
        }
    }
    static QString marcador(const char* documento, const char* nombre)
    {
        return platform::Document::open(host(documento)).bookmarkText(QString::fromLatin1(nombre));
    }
    platform::Row fila(const char* sql) { return *db.first(u(sql)); }

    int idContrato = 0;
    std::unique_ptr<testing_support::CopiesAnswerer> copias;
};
