#!/usr/bin/env python3
"""Writes the sample templates of the catalogue into plantillas/.

The contract model "Ordinario" is rich text, the extension model "Prorroga"
is Office Open XML. Each comes in four variants: signatures on the first
page or not ("P"), Castilian or Catalan ("C"). A bookmark is written {{NAME}}
below; every one is collapsed and stands beside text of its own, so that
word processors keep it when they save the document.

Run it again after changing a text: python3 hacer_plantillas.py
"""

import os
import re
import zipfile

AQUI = os.path.dirname(os.path.abspath(__file__))
SALIDA = os.path.join(AQUI, "plantillas")

# A personal datum: the blanks of the copia básica stand where the value
# stands in the contract, so neither leaves a stray blank before what follows.
def personal(marca):
    return "{{B%s}}{{M%s}}" % (marca, marca)


# The worker's paragraph, the same in both models.
def trabajador(es):
    t = (lambda a, b: a) if es else (lambda a, b: b)
    texto = t("De otra parte, D./Dña. {{M0102}}, con NIF %s, nacido/a el %s, número de afiliación a la "
              "Seguridad Social %s, nivel formativo %s, nacionalidad %s, país %s, con domicilio en el "
              "municipio de %s, código postal %s.",
              "D'altra part, el Sr./la Sra. {{M0102}}, amb NIF %s, nascut/da el %s, número d'afiliació "
              "a la Seguretat Social %s, nivell formatiu %s, nacionalitat %s, país %s, amb domicili al "
              "municipi de %s, codi postal %s.")
    return ("izquierda", texto % tuple(personal(m) for m in ("0115", "0116", "0111", "0136", "0380", "0462",
                                                             "0105", "0106")))


# Paragraphs: (kind, text). Kinds: "titulo", "centro", "apartado", "texto"
# (justified), "izquierda" (the personal data and the representatives' foot,
# whose blanks in the copia básica would stretch a justified line),
# "firma" (signatures on the first page, left out of the "P" variants),
# "pie" (bookmarks of the copia básica's first-page foot), "salto" (page break).
def ordinario(es):
    t = (lambda a, b: a) if es else (lambda a, b: b)
    return [
        ("titulo", t("CONTRATO DE TRABAJO ", "CONTRACTE DE TREBALL ") + "{{Basica}}"),
        ("centro", t("Código de contrato: ", "Codi de contracte: ") + "{{Nombre}}"),
        ("apartado", t("REUNIDOS", "REUNITS")),
        ("texto", t("De una parte, la empresa {{M0002}}, con CIF/NIF {{M0003}}, domicilio en {{M0004}} {{M0005}} "
                    "{{M0006}}, {{M0010}}, código postal {{M0011}}, actividad {{M0018}} y cuenta de cotización a "
                    "la Seguridad Social {{M0058}}/{{M0059}}/{{M0060}}.",
                    "D'una part, l'empresa {{M0002}}, amb CIF/NIF {{M0003}}, domicili a {{M0004}} {{M0005}} "
                    "{{M0006}}, {{M0010}}, codi postal {{M0011}}, activitat {{M0018}} i compte de cotització a la "
                    "Seguretat Social {{M0058}}/{{M0059}}/{{M0060}}.")),
        trabajador(es),
        ("texto", t("Ambas partes se reconocen capacidad para contratar y acuerdan el presente contrato de "
                    "trabajo con arreglo a las cláusulas que siguen.",
                    "Ambdues parts es reconeixen capacitat per contractar i acorden aquest contracte de "
                    "treball d'acord amb les clàusules següents.")),
        ("firma", t("El/la trabajador/a\t\tLa empresa", "El/la treballador/a\t\tL'empresa")),
        ("pie", "\t{{BPIE1}}"),
        ("pie", "\t{{BPIE2}}"),
        ("salto", ""),
        ("apartado", t("CLÁUSULAS", "CLÀUSULES")),
        ("texto", t("Primera. El/la trabajador/a {{M2102}} prestará sus servicios como {{M0210}} en el "
                    "centro de trabajo de la empresa en {{M2010}}.",
                    "Primera. El/la treballador/a {{M2102}} prestarà els seus serveis com a {{M0210}} al "
                    "centre de treball de l'empresa a {{M2010}}.")),
        ("texto", t("Segunda. El contrato producirá efectos desde el {{M0200}}. Fecha de finalización, en "
                    "su caso: {{M0076}}.",
                    "Segona. El contracte tindrà efectes des del {{M0200}}. Data de finalització, si escau: "
                    "{{M0076}}.")),
        ("texto", t("Tercera. La jornada de trabajo será de {{M0260}} horas semanales.",
                    "Tercera. La jornada de treball serà de {{M0260}} hores setmanals.")),
        ("texto", t("Cuarta. El/la trabajador/a percibirá una retribución total de {{M0250}} euros brutos "
                    "anuales.",
                    "Quarta. El/la treballador/a percebrà una retribució total de {{M0250}} euros bruts "
                    "anuals.")),
        ("texto", t("Quinta. En lo no previsto en este contrato se estará a lo dispuesto en la legislación "
                    "vigente y en el convenio colectivo de aplicación.",
                    "Cinquena. En allò que no preveu aquest contracte s'aplicarà la legislació vigent i el "
                    "conveni col·lectiu d'aplicació.")),
        ("apartado", t("CLÁUSULAS ADICIONALES", "CLÀUSULES ADDICIONALS")),
        ("texto", "{{Clausula1}}" + t("Y en prueba de conformidad firman el presente contrato por triplicado.",
                                       "I en prova de conformitat signen aquest contracte per triplicat.")),
        ("texto", t("En {{Dato1}}, a {{Dato2}} de {{Dato3}} de {{Dato4}}.",
                    "A {{Dato1}}, el {{Dato2}} de {{Dato3}} de {{Dato4}}.")),
        ("texto", t("El/la trabajador/a\t\tLa empresa", "El/la treballador/a\t\tL'empresa")),
        ("texto", t("Fdo.: {{M3102}}\t\tFdo.: {{M2002}}", "Signat: {{M3102}}\t\tSignat: {{M2002}}")),
        ("izquierda", "\t{{BPIE11}}"),
        ("izquierda", "\t{{BPIE22}}"),
        ("centro", t("Ejemplar para el trabajador, la empresa y la oficina de empleo.",
                     "Exemplar per al treballador, l'empresa i l'oficina d'ocupació.")),
    ]


def prorroga(es):
    t = (lambda a, b: a) if es else (lambda a, b: b)
    return [
        ("titulo", t("PRÓRROGA DE CONTRATO DE TRABAJO TEMPORAL ", "PRÒRROGA DE CONTRACTE DE TREBALL TEMPORAL ")
         + "{{Basica}}"),
        ("centro", t("Código de contrato: ", "Codi de contracte: ") + "{{Nombre}}"),
        ("texto", t("De una parte, la empresa {{M0002}}, con CIF/NIF {{M0003}}.",
                    "D'una part, l'empresa {{M0002}}, amb CIF/NIF {{M0003}}.")),
        trabajador(es),
        ("texto", t("ACUERDAN prorrogar el contrato de trabajo suscrito entre ambas el {{M0200}}, por una "
                    "duración de {{M0222}}, desde el {{M0223}} hasta el {{M0224}}.",
                    "ACORDEN prorrogar el contracte de treball subscrit entre ambdues el {{M0200}}, per una "
                    "durada de {{M0222}}, des del {{M0223}} fins al {{M0224}}.")),
        ("texto", "{{Clausula1}}" + t("Las demás condiciones del contrato no varían.",
                                       "La resta de condicions del contracte no varien.")),
        ("firma", t("El/la trabajador/a\t\tLa empresa", "El/la treballador/a\t\tL'empresa")),
        ("pie", "\t{{BPIE1}}"),
        ("pie", "\t{{BPIE2}}"),
        ("texto", t("En {{Dato1}}, a {{Dato2}} de {{Dato3}} de {{Dato4}}.",
                    "A {{Dato1}}, el {{Dato2}} de {{Dato3}} de {{Dato4}}.")),
        ("texto", t("Fdo.: {{M2102}}\t\tFdo.: {{M2002}}", "Signat: {{M2102}}\t\tSignat: {{M2002}}")),
        ("izquierda", "\t{{BPIE11}}"),
        ("izquierda", "\t{{BPIE22}}"),
        ("centro", t("Ejemplar para el trabajador, la empresa y la oficina de empleo.",
                     "Exemplar per al treballador, l'empresa i l'oficina d'ocupació.")),
    ]


def variante(parrafos, firmas_en_primera):
    if firmas_en_primera:
        return parrafos
    return [p for p in parrafos if p[0] != "firma"]


PIEZA = re.compile(r"(\{\{[A-Za-z0-9]+\}\}|\t)")


def piezas(texto):
    for trozo in PIEZA.split(texto):
        if not trozo:
            continue
        if trozo == "\t":
            yield ("tab", None)
        elif trozo.startswith("{{"):
            yield ("marcador", trozo[2:-2])
        else:
            yield ("texto", trozo)


# --- rich text ---------------------------------------------------------------

def rtf_texto(s):
    out = []
    for c in s:
        if c in "\\{}":
            out.append("\\" + c)
        elif ord(c) < 128:
            out.append(c)
        else:
            out.append("\\'%02x" % c.encode("cp1252")[0])
    return "".join(out)


def rtf(parrafos):
    lineas = [r"{\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss\fcharset0 Arial;}}",
              r"\paperw11906\paperh16838\margl1417\margr1417\margt1417\margb1417",
              r"\viewkind1\uc1\f0\fs22"]
    for tipo, texto in parrafos:
        if tipo == "salto":
            lineas.append(r"\pard\plain\f0\fs22\page\par")
            continue
        formato = {"titulo": r"\qc\sa240\b\fs28", "centro": r"\qc\sa200", "apartado": r"\sb120\sa120\b",
                   "izquierda": r"\ql\sa120", "pie": r"\ql\sa120"}.get(tipo, r"\qj\sa120")
        cuerpo = []
        for clase, valor in piezas(texto):
            if clase == "tab":
                cuerpo.append(r"\tab ")
            elif clase == "marcador":
                cuerpo.append(r"{\*\bkmkstart %s}{\*\bkmkend %s}" % (valor, valor))
            else:
                cuerpo.append(rtf_texto(valor))
        lineas.append(r"\pard\plain\f0\fs22\tx3000\tx5200%s " % formato + "".join(cuerpo) + r"\par")
    lineas.append("}")
    return ("\r\n".join(lineas) + "\r\n").encode("ascii")


# --- Office Open XML -----------------------------------------------------------

def xml_texto(s):
    return s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def docx(parrafos, ruta):
    marca = [0]
    cuerpo = []
    for tipo, texto in parrafos:
        if tipo == "salto":
            cuerpo.append('<w:p><w:r><w:br w:type="page"/></w:r></w:p>')
            continue
        ppr = {"titulo": '<w:jc w:val="center"/><w:spacing w:after="240"/>',
               "centro": '<w:jc w:val="center"/><w:spacing w:after="200"/>',
               "apartado": '<w:spacing w:before="120" w:after="120"/>',
               "izquierda": '<w:spacing w:after="120"/>', "pie": '<w:spacing w:after="120"/>'}.get(
                   tipo, '<w:jc w:val="both"/><w:spacing w:after="120"/>')
        rpr = {"titulo": "<w:rPr><w:b/><w:sz w:val=\"28\"/></w:rPr>", "apartado": "<w:rPr><w:b/></w:rPr>"}.get(tipo, "")
        partes = ['<w:p><w:pPr><w:tabs><w:tab w:val="left" w:pos="3000"/><w:tab w:val="left" w:pos="5200"/>'
                  '</w:tabs>%s</w:pPr>' % ppr]
        for clase, valor in piezas(texto):
            if clase == "tab":
                partes.append("<w:r>%s<w:tab/></w:r>" % rpr)
            elif clase == "marcador":
                marca[0] += 1
                partes.append('<w:bookmarkStart w:id="%d" w:name="%s"/><w:bookmarkEnd w:id="%d"/>'
                              % (marca[0], valor, marca[0]))
            else:
                partes.append('<w:r>%s<w:t xml:space="preserve">%s</w:t></w:r>' % (rpr, xml_texto(valor)))
        partes.append("</w:p>")
        cuerpo.append("".join(partes))
    documento = (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" '
        'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><w:body>'
        + "".join(cuerpo)
        + '<w:sectPr><w:pgSz w:w="11906" w:h="16838"/><w:pgMar w:top="1417" w:right="1417" w:bottom="1417" '
        'w:left="1417" w:header="708" w:footer="708" w:gutter="0"/></w:sectPr></w:body></w:document>')
    estilos = (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<w:styles xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:docDefaults>'
        '<w:rPrDefault><w:rPr><w:rFonts w:ascii="Arial" w:hAnsi="Arial" w:cs="Arial"/><w:sz w:val="22"/>'
        '<w:lang w:val="es-ES"/></w:rPr></w:rPrDefault><w:pPrDefault/></w:docDefaults>'
        '<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/></w:style>'
        '</w:styles>')
    tipos = (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
        '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
        '<Default Extension="xml" ContentType="application/xml"/>'
        '<Override PartName="/word/document.xml" '
        'ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>'
        '<Override PartName="/word/styles.xml" '
        'ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>'
        '</Types>')
    raiz = (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" '
        'Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" '
        'Target="word/document.xml"/></Relationships>')
    enlaces = (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" '
        'Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" '
        'Target="styles.xml"/></Relationships>')
    with zipfile.ZipFile(ruta, "w", zipfile.ZIP_DEFLATED) as z:
        # Fixed dates keep the file the same from one run to the next.
        for nombre, contenido in (("[Content_Types].xml", tipos), ("_rels/.rels", raiz),
                                  ("word/document.xml", documento), ("word/styles.xml", estilos),
                                  ("word/_rels/document.xml.rels", enlaces)):
            info = zipfile.ZipInfo(nombre, date_time=(2026, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, contenido.encode("utf-8"))


def main():
    os.makedirs(SALIDA, exist_ok=True)
    for firmas, p in ((True, ""), (False, "P")):
        for es, c in ((True, ""), (False, "C")):
            with open(os.path.join(SALIDA, p + c + "Ordinario.rtf"), "wb") as f:
                f.write(rtf(variante(ordinario(es), firmas)))
            docx(variante(prorroga(es), firmas), os.path.join(SALIDA, p + c + "Prorroga.docx"))


if __name__ == "__main__":
    main()
