"""Real TLS services from Debian's packages for the fetcher: each one started on 127.0.0.1 in
a folder of its own with a configuration of its own, on a port picked by binding port 0, and
stopped by its process id. Each service comes in two configurations: legacy (TLS 1.0 and the
old RSA suites allowed, the way such services are still run for old clients) and the
package's own defaults."""

import contextlib
import grp
import os
import pwd
import subprocess

import tls_peers

LEGACY_PRIORITY = tls_peers.LEGACY_PRIORITY
# The one legacy choice that lighttpd's NSS, mbed TLS and GnuTLS modules all take in their
# OpenSSL-style cipher string (the last two know no RC4-SHA or DES-CBC-SHA by name): the 3DES
# suites beside their modern ones.
LEGACY_CIPHERS = "3DES:HIGH"
# Every old suite by OpenSSL's own names, at its lowest security level; Debian's OpenSSL is
# built without any of them, and "ALL" keeps the list from being refused as empty.
OPENSSL_LEGACY_CIPHERS = "ALL:RC4:3DES:DES:EXPORT:@SECLEVEL=0"


def _openssl(*args):
    subprocess.run(["openssl"] + list(args), check=True, capture_output=True)


def _der(pem):
    return subprocess.run(["openssl", "x509", "-in", pem, "-outform", "der"], check=True,
                          capture_output=True).stdout


class Served:
    """What a service is given: its certificate chain (leaf first) and key as PEM files, and
    the leaf in DER, which is all the fetcher is to save."""

    def __init__(self, chain, key, leaf_der):
        self.chain = chain
        self.key = key
        self.leaf_der = leaf_der


def make_certificates(folder):
    """RSA 2048 throughout: a root, an intermediate and two leaves that the intermediate
    signed, a plain one and one with 300 subject-alternative names (about 7 KB, so that its
    answer takes several segments on a real network). Returns {"chain": Served,
    "large leaf": Served}; each chain is the leaf and the intermediate, as servers send it."""
    path = lambda name: os.path.join(folder, name)
    ca = ["-addext", "basicConstraints=critical,CA:TRUE",
          "-addext", "keyUsage=critical,keyCertSign,cRLSign"]
    _openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", path("root.key"),
             "-out", path("root.pem"), "-days", "30", "-subj", "/CN=Tarnwick test root", *ca)
    _openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", path("inter.key"),
             "-out", path("inter.pem"), "-days", "30", "-subj", "/CN=Tarnwick test intermediate",
             "-CA", path("root.pem"), "-CAkey", path("root.key"), *ca)
    leaf = ["-days", "30", "-subj", "/CN=localhost", "-CA", path("inter.pem"),
            "-CAkey", path("inter.key"), "-addext", "basicConstraints=CA:FALSE"]
    _openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", path("leaf.key"),
             "-out", path("leaf.pem"), *leaf,
             "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1")
    names = ",".join("DNS:host%03d.loopback.test" % i for i in range(300))
    _openssl("req", "-x509", "-new", "-key", path("leaf.key"), "-out", path("large.pem"), *leaf,
             "-addext", "subjectAltName=" + names)
    with open(path("inter.pem"), "rb") as f:
        intermediate = f.read()
    served = {}
    for name, leaf_pem in (("chain", "leaf.pem"), ("large leaf", "large.pem")):
        chain = path(leaf_pem.replace(".pem", "_chain.pem"))
        with open(path(leaf_pem), "rb") as f, open(chain, "wb") as out:
            out.write(f.read() + intermediate)
        served[name] = Served(chain, path("leaf.key"), _der(path(leaf_pem)))
    return served


def _write(folder, name, text):
    with open(os.path.join(folder, name), "w") as f:
        f.write(text)
    return os.path.join(folder, name)


def _user_and_group():
    return pwd.getpwuid(os.getuid()).pw_name, grp.getgrgid(os.getgid()).gr_name


def exim_smtps(folder, port, served, legacy):
    """exim4 (GnuTLS) with TLS from the first byte, as on the SMTPS port."""
    user, group = _user_and_group()
    ciphers = "tls_require_ciphers = %s\n" % LEGACY_PRIORITY if legacy else ""
    config = _write(folder, "exim.conf", f"""\
primary_hostname = localhost
keep_environment =
spool_directory = {folder}/spool
log_file_path = {folder}/%slog
local_interfaces = 127.0.0.1
daemon_smtp_ports = {port}
tls_on_connect_ports = {port}
tls_advertise_hosts = *
tls_certificate = {served.chain}
tls_privatekey = {served.key}
{ciphers}exim_user = {user}
exim_group = {group}
acl_smtp_rcpt = refuse
begin acl
refuse:
  deny
""")
    return ["exim4", "-C", config, "-bdf", "-oX", str(port)]


def _lighttpd(module, tls_settings):
    def start(folder, port, served, legacy):
        os.makedirs(os.path.join(folder, "www"), exist_ok=True)
        settings = tls_settings(legacy)
        config = _write(folder, "lighttpd.conf", f"""\
server.modules = ("{module}")
server.document-root = "{folder}/www"
server.bind = "127.0.0.1"
server.port = {port}
server.errorlog = "{folder}/error.log"
server.pid-file = "{folder}/lighttpd.pid"
ssl.engine = "enable"
ssl.pemfile = "{served.chain}"
ssl.privkey = "{served.key}"
{settings}
""")
        return ["lighttpd", "-D", "-f", config]
    return start


def _lighttpd_legacy(legacy):
    if not legacy:
        return ""
    return ('ssl.openssl.ssl-conf-cmd = ("MinProtocol" => "TLSv1.0", '
            '"CipherString" => "%s")' % LEGACY_CIPHERS)


lighttpd_nss = _lighttpd("mod_nss", _lighttpd_legacy)
lighttpd_mbedtls = _lighttpd("mod_mbedtls", _lighttpd_legacy)
lighttpd_gnutls = _lighttpd("mod_gnutls", _lighttpd_legacy)


def slapd_ldaps(folder, port, served, legacy):
    """OpenLDAP's slapd (GnuTLS) with one LDAPS listener and no database."""
    ciphers = ("TLSCipherSuite %s\nTLSProtocolMin 3.1\n" % LEGACY_PRIORITY) if legacy else ""
    config = _write(folder, "slapd.conf", f"""\
pidfile {folder}/slapd.pid
argsfile {folder}/slapd.args
TLSCertificateFile {served.chain}
TLSCertificateKeyFile {served.key}
{ciphers}""")
    return ["slapd", "-f", config, "-h", "ldaps://127.0.0.1:%d/" % port, "-d", "0"]


def nginx_https(folder, port, served, legacy):
    """nginx (OpenSSL) as a web server; legacy asks OpenSSL for every old suite it knows."""
    tls = ("ssl_protocols TLSv1 TLSv1.1 TLSv1.2;\n    ssl_ciphers %s;"
           % OPENSSL_LEGACY_CIPHERS) if legacy else ""
    for sub in ("body", "proxy", "fastcgi", "uwsgi", "scgi", "www"):
        os.makedirs(os.path.join(folder, sub), exist_ok=True)
    config = _write(folder, "nginx.conf", f"""\
daemon off;
master_process off;
pid {folder}/nginx.pid;
error_log {folder}/error.log;
events {{ worker_connections 16; }}
http {{
  access_log off;
  client_body_temp_path {folder}/body;
  proxy_temp_path {folder}/proxy;
  fastcgi_temp_path {folder}/fastcgi;
  uwsgi_temp_path {folder}/uwsgi;
  scgi_temp_path {folder}/scgi;
  server {{
    listen 127.0.0.1:{port} ssl;
    root {folder}/www;
    ssl_certificate {served.chain};
    ssl_certificate_key {served.key};
    {tls}
  }}
}}
""")
    return ["nginx", "-p", folder, "-e", os.path.join(folder, "error.log"), "-c", config]


SERVICES = {
    "exim4 SMTPS": exim_smtps,
    "lighttpd mod_nss": lighttpd_nss,
    "lighttpd mod_mbedtls": lighttpd_mbedtls,
    "lighttpd mod_gnutls": lighttpd_gnutls,
    "slapd LDAPS": slapd_ldaps,
    "nginx": nginx_https,
}


@contextlib.contextmanager
def running(service, folder, served, legacy):
    """The service started in folder and accepting; stopped on leaving."""
    log = os.path.join(folder, "output.log")
    server = tls_peers.Server(lambda port: SERVICES[service](folder, port, served, legacy), log)
    try:
        server.__enter__()
    except RuntimeError as failure:
        with open(log, errors="replace") as f:
            raise RuntimeError("%s: %s\n%s" % (service, failure, f.read()[-2000:])) from None
    try:
        yield server
    finally:
        server.__exit__()
