#!/usr/bin/python3
# FTP server of the exchange tests, on 127.0.0.1 and a port of the system's
# choosing, which it prints on its first line. It ends when its standard input
# closes, so it never outlives the test program that started it.
#
#   servidor_ftp.py RAIZ [--sin-pasv]
#
# Every account sees RAIZ as "/":
#   tervalo   / clave    may read and delete
#   sinborrar / clave    may read, not delete
#   corto     / clave    may read and delete; every download is sent half long
#                        and then reported complete
#   especial  / p:s@w    may read and delete
# With --sin-pasv the server refuses passive mode, so only active mode works.
import io
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, FileProducer
from pyftpdlib.servers import FTPServer


class Recortado(io.BytesIO):
    def __init__(self, datos, nombre):
        super().__init__(datos)
        self.name = nombre


class Manejador(FTPHandler):
    auth_failed_timeout = 0
    sin_pasv = False

    def ftp_PASV(self, line):
        if self.sin_pasv:
            self.respond("502 Passive mode not allowed.")
            return
        super().ftp_PASV(line)

    def ftp_EPSV(self, line):
        if self.sin_pasv:
            self.respond("502 Passive mode not allowed.")
            return
        super().ftp_EPSV(line)

    def ftp_RETR(self, file):
        if self.username != "corto":
            return super().ftp_RETR(file)
        try:
            with open(file, "rb") as f:
                datos = f.read()
        except OSError as err:
            self.respond("550 %s." % err.strerror)
            return
        parte = Recortado(datos[: len(datos) // 2], file)
        self.push_dtp_data(FileProducer(parte, self._current_type), isproducer=True, file=parte, cmd="RETR")
        return file


def main():
    # Only failures of the server itself reach the test's output.
    logging.basicConfig(level=logging.ERROR)
    raiz = sys.argv[1]
    Manejador.sin_pasv = "--sin-pasv" in sys.argv[2:]
    cuentas = DummyAuthorizer()
    cuentas.add_user("tervalo", "clave", raiz, perm="elrd")
    cuentas.add_user("sinborrar", "clave", raiz, perm="elr")
    cuentas.add_user("corto", "clave", raiz, perm="elrd")
    cuentas.add_user("especial", "p:s@w", raiz, perm="elrd")
    Manejador.authorizer = cuentas
    Manejador.banner = "Servidor de pruebas."

    servidor = FTPServer(("127.0.0.1", 0), Manejador)
    print(servidor.address[1], flush=True)

    def vigilar_entrada():
        sys.stdin.buffer.read()
        os._exit(0)

    threading.Thread(target=vigilar_entrada, daemon=True).start()
    servidor.serve_forever(timeout=0.5, handle_exit=False)


if __name__ == "__main__":
    main()
