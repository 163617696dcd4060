#!/usr/bin/env python3
"""A private network in which the services' real host names lead to this machine.

  private_net.py WORK_DIR -- COMMAND [ARGS...]

runs COMMAND (as root) in its own mount and network namespaces (`unshare -mn`) where
  - the loopback interface is up and is the only network: nothing reaches the outside;
  - /etc/hosts is a bind mount of WORK_DIR/hosts, mapping HOST_NAMES to 127.0.0.1;
  - the system certificate bundle (which Wine's WinHTTP verifies against) is a bind mount of a
    copy of it with a test certificate authority appended.
The authority and a server certificate for HOST_NAMES are made with openssl into WORK_DIR
each run (no key is kept anywhere else). COMMAND finds them through ZT_PRIVATE_NET=WORK_DIR:
`server_context()` gives a server-side ssl context with that certificate. The mounts vanish
with the namespace; nothing outside it is touched. COMMAND ends its own processes by pid
(Xvfb, Wine); the namespace's last process takes the mounts along when it ends.

Inside, `Bundle.without_test_authority()` puts the untouched bundle back for a while (a
stacked bind mount), to show that the authority is what makes the certificate trusted.

Abstract unix sockets belong to a network namespace: start Xvfb and the Wine prefix inside.
"""
import contextlib
import os
import shutil
import signal
import ssl
import subprocess
import sys

HOST_NAMES = ["translate.google.com", "api.microsofttranslator.com", "translate.googleapis.com",
              "edge.microsoft.com"]
HOSTS = "/etc/hosts"
BUNDLE = "/etc/ssl/certs/ca-certificates.crt"
ENV_KEY = "ZT_PRIVATE_NET"


def _files(work):
    return {name: os.path.join(work, name) for name in
            ("ca.key", "ca.crt", "server.key", "server.csr", "server.crt", "server.ext",
             "hosts", "bundle.crt", "bundle-original.crt")}


def _openssl(*args):
    subprocess.run(["openssl", *args], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.PIPE)


def make_certificates(work):
    """A throw-away authority and a server certificate it signs for every name of HOST_NAMES."""
    f = _files(work)
    _openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
             "-subj", "/CN=Zelvane test authority", "-keyout", f["ca.key"], "-out", f["ca.crt"],
             "-addext", "basicConstraints=critical,CA:TRUE",
             "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    _openssl("req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=" + HOST_NAMES[0],
             "-keyout", f["server.key"], "-out", f["server.csr"])
    with open(f["server.ext"], "w", encoding="ascii") as ext:
        ext.write("subjectAltName=" + ",".join("DNS:" + n for n in HOST_NAMES) + "\n"
                  "basicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n"
                  "keyUsage=critical,digitalSignature,keyEncipherment\n")
    _openssl("x509", "-req", "-in", f["server.csr"], "-CA", f["ca.crt"], "-CAkey", f["ca.key"],
             "-CAcreateserial", "-days", "2", "-sha256", "-extfile", f["server.ext"],
             "-out", f["server.crt"])
    os.remove(f["ca.key"])  # nothing more is signed with it


def prepare(work):
    os.makedirs(work, exist_ok=True)
    make_certificates(work)
    f = _files(work)
    with open(f["hosts"], "w", encoding="ascii") as hosts:
        hosts.write("127.0.0.1\tlocalhost\n::1\tlocalhost\n")
        for name in HOST_NAMES:
            hosts.write(f"127.0.0.1\t{name}\n")
    shutil.copyfile(BUNDLE, f["bundle-original.crt"])
    with open(f["bundle.crt"], "wb") as bundle:
        with open(BUNDLE, "rb") as system:
            data = system.read()
        bundle.write(data if data.endswith(b"\n") or not data else data + b"\n")
        with open(f["ca.crt"], "rb") as ca:
            bundle.write(ca.read())


def _mount_bind(source, target):
    subprocess.run(["mount", "--bind", source, target], check=True)


def _run_forwarding_term(argv, env=None):
    """ARGV's exit code; a SIGTERM to this process, even one that comes before ARGV has
    started, is passed on so that the command can end what it started."""
    child = None
    stopping = False

    def forward(*_):
        nonlocal stopping
        stopping = True
        if child is not None:
            child.terminate()

    signal.signal(signal.SIGTERM, forward)
    if stopping:
        return 143
    child = subprocess.Popen(argv, env=env)
    if stopping:
        child.terminate()
    return child.wait()


def _inside(work, command):
    """Runs in the new namespaces: the network and the two files, then COMMAND."""
    f = _files(work)
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    _mount_bind(f["hosts"], HOSTS)
    _mount_bind(f["bundle.crt"], BUNDLE)
    return _run_forwarding_term(command, env=dict(os.environ, **{ENV_KEY: work}))


def run(work, command):
    """COMMAND's exit code, run in the private namespaces (or 77 when that cannot be done)."""
    if os.geteuid() != 0:
        print("private_net: needs root for its namespaces", file=sys.stderr)
        return 77
    work = os.path.abspath(work)
    prepare(work)
    # --propagation private (unshare's default) keeps the bind mounts inside; unshare runs the
    # inner stage in its own place (no fork), so a signal to it reaches the inner stage.
    return _run_forwarding_term(["unshare", "-mn", "--propagation", "private", sys.executable,
                                 os.path.abspath(__file__), "--inside", work, "--", *command])


# ---- for COMMAND, inside the namespaces -----------------------------------------------------

def work_dir():
    work = os.environ.get(ENV_KEY)
    if not work:
        raise RuntimeError("not inside private_net.py (ZT_PRIVATE_NET is not set)")
    return work


def server_context():
    """A server-side TLS context with the certificate for HOST_NAMES."""
    f = _files(work_dir())
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(f["server.crt"], f["server.key"])
    return context


class Bundle:
    @staticmethod
    @contextlib.contextmanager
    def without_test_authority():
        """The system bundle without the test authority, until the block ends."""
        _mount_bind(_files(work_dir())["bundle-original.crt"], BUNDLE)
        try:
            yield
        finally:
            subprocess.run(["umount", BUNDLE], check=True)


def main(argv):
    if len(argv) >= 4 and argv[1] == "--inside" and argv[3] == "--":
        return _inside(argv[2], argv[4:])
    if len(argv) >= 4 and argv[2] == "--":
        return run(argv[1], argv[3:])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
