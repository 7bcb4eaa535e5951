#include "EmpresasTest.h"

#include "companies/frmValidacion.h"
#include "platform/MessageBoxes.h"

// The checks of the record window's boxes at their edges: on each side of a
// limit, the last value refused and the first accepted, typed into the box
// and left with Tab as a user does.

namespace {

// What is typed into a box, and what the check does with it when the box is
// left: a refusal gives `mensaje` (critical) with `titulo` and empties the
// box; an accepted value (no message) stays as `queda` shows it. A Social
// Security number whose digits are all there but whose control digits are
// not right opens the dialog that offers `control`.
struct Limite {
    const char* caja;
    const char* tecleado;
    const char* mensaje; // nullptr: accepted
    const char* titulo;
    const char* queda;
    const char* control = nullptr;
};

constexpr auto kTituloPrograma = platform::kProgramTitle; // a message without a title of its own

class LimitesTest : public EmpresasTest {
protected:
    // Types each value into its box, emptied first, and leaves it with Tab.
    void comprobar(frmEmpresa& f, const std::vector<Limite>& limites)
    {
        for (const Limite& l : limites) {
            SCOPED_TRACE(std::string(l.caja) + " \"" + l.tecleado + "\"");
            auto* caja = f.findChild<QLineEdit*>(u(l.caja));
            ASSERT_NE(caja, nullptr);
            auto* mascara = qobject_cast<platform::MaskEdBox*>(caja);
            const QString vacia = mascara ? mascara->emptyText() : QString();
            caja->setFocus();
            ASSERT_TRUE(caja->hasFocus());
            if (mascara)
                mascara->setText(vacia);
            else
                caja->setText(vacia);
            const auto vistos = msg().shown().size();
            QTest::keyClicks(caja, u(l.tecleado));
            QTest::keyClick(caja, Qt::Key_Tab);
            QApplication::processEvents();
            if (l.mensaje) {
                ASSERT_EQ(msg().shown().size(), vistos + 1);
                const auto& visto = msg().shown().back();
                EXPECT_EQ(visto.text, u(l.mensaje));
                EXPECT_EQ(visto.style, platform::style::Critical);
                EXPECT_EQ(visto.title, u(l.titulo));
                EXPECT_EQ(mascara ? mascara->Text() : caja->text(), vacia) << "the refused value is cleared";
                EXPECT_TRUE(caja->hasFocus()) << "the focus goes back to the box";
            } else {
                EXPECT_EQ(msg().texts().mid(static_cast<qsizetype>(vistos)), QStringList());
                EXPECT_EQ(mascara ? mascara->Text() : caja->text(), u(l.queda));
                EXPECT_FALSE(caja->hasFocus()) << "the focus moves on";
                frmValidacion* dialogo = Forms::loaded<frmValidacionSS>();
                if (!dialogo)
                    dialogo = Forms::loaded<frmValidacionISSE>();
                if (!l.control) {
                    EXPECT_EQ(dialogo, nullptr) << "the control digits are right";
                    continue;
                }
                ASSERT_NE(dialogo, nullptr);
                EXPECT_EQ(dialogo->lblCorrecto->text(), u("Al Número de SS le corresponde el código: ") + u(l.control));
                dialogo->cmdCancelar->click();
                EXPECT_EQ(mascara->Text(), u(l.queda)) << "kept as typed";
                activar(&f);
            }
        }
    }
};

} // namespace

TEST_F(LimitesTest, CompanyBoxesRefuseTheLastWrongValueAndAcceptTheFirstRightOne)
{
    const char* const cp = "El valor del Código Postal debe ser de cinco cifras";
    const char* const telefono = "El valor del teléfono debe ser de nueve cifras";
    const char* const fax = "El valor del fax debe ser de nueve cifras";
    const char* const cifras = "Introduzca todas las cifras del campo";
    const std::vector<Limite> limites = {
        {"txtCp", "2800", cp, "Error", nullptr},
        {"txtCp", "28001", nullptr, nullptr, "28001"},
        {"txtCp", "280019", nullptr, nullptr, "28001"}, // a sixth digit does not go in
        {"txtCp", "2800a", "El valor del Código Postal debe ser numérico", "Error", nullptr},
        {"txtTelef", "91234567", telefono, "Error", nullptr},
        {"txtTelef", "912345678", nullptr, nullptr, "912345678"},
        {"txtTelef", "9123456789", nullptr, nullptr, "912345678"},
        {"txtFax", "93123456", fax, "Error", nullptr},
        {"txtFax", "931234567", nullptr, nullptr, "931234567"},
        {"txtFax", "9312345678", nullptr, nullptr, "931234567"},
        // The contribution account: a digit of the body missing; the body
        // whole, its control digits still to come; all of them right.
        {"txtNumISS", "08123456", cifras, kTituloPrograma, nullptr},
        {"txtNumISS", "081234567", nullptr, nullptr, "08/1234567/__", "74"},
        {"txtNumISS", "08123456774", nullptr, nullptr, "08/1234567/74"},
    };
    auto& f = abrir(empresa("00001", "Alfa"));
    activar(&f);
    comprobar(f, limites);
}

// Today is 1 January: a worker born on 31 December sixteen years back is
// taken as sixteen, one born a day later is not.
TEST_F(LimitesTest, WorkerBoxesRefuseTheLastWrongValueAndAcceptTheFirstRightOne)
{
    fakeClock().set(QDateTime(QDate(2026, 1, 1), QTime(9, 0)));
    const char* const cp = "El valor del Código Postal debe ser de cinco cifras";
    const char* const anio = "No es posible ese valor de año";
    const char* const mes = "No es posible ese valor de mes";
    const char* const dia = "No es posible ese valor de día";
    const char* const fecha = "El valor introducido como Fecha de Nacimiento no es correcto.";
    const std::vector<Limite> limites = {
        {"txtCodPostalTrabaj", "2500", cp, "Error", nullptr},
        {"txtCodPostalTrabaj", "25001", nullptr, nullptr, "25001"},
        {"txtCodPostalTrabaj", "250019", nullptr, nullptr, "25001"},
        // Year from 1900.
        {"txtFechaNac", "01011899", anio, "Error", nullptr},
        {"txtFechaNac", "01011900", nullptr, nullptr, "01/01/1900"},
        // Months 1 to 12.
        {"txtFechaNac", "01001980", mes, "Error", nullptr},
        {"txtFechaNac", "01011980", nullptr, nullptr, "01/01/1980"},
        {"txtFechaNac", "01121980", nullptr, nullptr, "01/12/1980"},
        {"txtFechaNac", "01131980", mes, "Error", nullptr},
        // Days from 1 to the month's last.
        {"txtFechaNac", "00011980", dia, "Error", nullptr},
        {"txtFechaNac", "31011980", nullptr, nullptr, "31/01/1980"},
        {"txtFechaNac", "32011980", dia, "Error", nullptr},
        {"txtFechaNac", "31121980", nullptr, nullptr, "31/12/1980"},
        {"txtFechaNac", "30041980", nullptr, nullptr, "30/04/1980"},
        {"txtFechaNac", "31041980", dia, "Error", nullptr},
        {"txtFechaNac", "30061980", nullptr, nullptr, "30/06/1980"},
        {"txtFechaNac", "31061980", dia, "Error", nullptr},
        {"txtFechaNac", "30091980", nullptr, nullptr, "30/09/1980"},
        {"txtFechaNac", "31091980", dia, "Error", nullptr},
        {"txtFechaNac", "30111980", nullptr, nullptr, "30/11/1980"},
        {"txtFechaNac", "31111980", dia, "Error", nullptr},
        {"txtFechaNac", "29021980", nullptr, nullptr, "29/02/1980"},
        {"txtFechaNac", "30021980", dia, "Error", nullptr},
        // 29 February of a year that is not a leap year is no date.
        {"txtFechaNac", "28021981", nullptr, nullptr, "28/02/1981"},
        {"txtFechaNac", "29021981", fecha, kTituloPrograma, nullptr},
        // Sixteen by calendar years.
        {"txtFechaNac", "31122010", nullptr, nullptr, "31/12/2010"},
        {"txtFechaNac", "01012011", "El trabajador tiene menos de 16 años", "Error.", nullptr},
        // Every digit of the date.
        {"txtFechaNac", "0101198", fecha, kTituloPrograma, nullptr},
        {"txtFechaNac", "01011980", nullptr, nullptr, "01/01/1980"},
        // The Social Security number likewise.
        {"txtNumSS", "280123456", "Introduzca todas las cifras del campo", kTituloPrograma, nullptr},
        {"txtNumSS", "2801234567", nullptr, nullptr, "28/01234567/__", "42"},
        {"txtNumSS", "280123456742", nullptr, nullptr, "28/01234567/42"},
    };
    const qint64 alfa = empresa("00001", "Alfa");
    trabajador(alfa, 1, "Ana");
    auto& f = abrir(alfa);
    activar(&f);
    f.SSTab1->setCurrentIndex(1);
    f.cmdEditar->click();
    comprobar(f, limites);
}
