#pragma once

#include "TervaloTest.h"

#include "common/Module1.h"
#include "data/Esquema.h"
#include "platform/DBGrid.h"
#include "platform/Database.h"
#include "platform/Forms.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QTest>

#include <optional>

// Each case starts on a fresh database and opens the windows as the main
// window's maintenance panel does.
class CatalogoTest : public testing_support::TervaloTest {
protected:
    CatalogoTest()
    {
        esquema::crearBasesDeDatosQueFalten();
        RutaBaseDatos();
        db.emplace(AbrirBaseDatos());
    }

    platform::Database& base() { return *db; }

    qint64 insertar(const char* tabla, std::initializer_list<std::pair<QString, QVariant>> campos)
    {
        return base().insert(QString::fromUtf8(tabla), platform::Row(campos));
    }
    // The first field of the first row of a query (Null when there is no row).
    QVariant valor(const QString& sql, const QVariantList& valores = {})
    {
        const auto fila = base().first(sql, valores);
        return fila ? fila->fields().front().second : QVariant();
    }
    int filas(const char* tabla)
    {
        return valor(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QString::fromUtf8(tabla))).toInt();
    }

    template <class F>
    F& abrir()
    {
        F& ventana = platform::Forms::show<F>();
        QApplication::setActiveWindow(&ventana);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&ventana));
        return ventana;
    }

    // The text of the last message box shown.
    QString ultimoMensaje() { return msg().shown().empty() ? QString() : msg().shown().back().text; }

    static void clic(QAbstractButton* boton) { QTest::mouseClick(boton, Qt::LeftButton); }
    static QPoint centro(platform::DBGrid* rejilla, int fila)
    {
        return rejilla->visualRect(rejilla->model()->index(fila, 1)).center();
    }
    static void elegir(platform::DBGrid* rejilla, int fila)
    {
        QTest::mouseClick(rejilla->viewport(), Qt::LeftButton, {}, centro(rejilla, fila));
    }
    static void dobleClic(platform::DBGrid* rejilla, int fila)
    {
        QTest::mouseDClick(rejilla->viewport(), Qt::LeftButton, {}, centro(rejilla, fila));
    }
    static void clicCabecera(platform::DBGrid* rejilla, int columna)
    {
        QHeaderView* cabecera = rejilla->horizontalHeader();
        const int x = cabecera->sectionViewportPosition(columna) + cabecera->sectionSize(columna) / 2;
        QTest::mouseClick(cabecera->viewport(), Qt::LeftButton, {}, QPoint(x, cabecera->height() / 2));
    }
    // The texts of a column of the grid, top to bottom.
    static QStringList columna(platform::DBGrid* rejilla, int col)
    {
        QStringList textos;
        for (int r = 0; r < rejilla->rowCount(); ++r)
            textos << rejilla->item(r, col)->text();
        return textos;
    }

    std::optional<platform::Database> db;
};
