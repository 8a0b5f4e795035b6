#!/usr/bin/python3
"""A loopback SMTP server for the mail tests, and a reader of what it stored.

  mail_sink.py serve DIR [--discard] [--starttls CERT KEY] [--tls CERT KEY] [--auth USER:PASSWORD]
      listens on a free port of 127.0.0.1, prints "PORT n" and stores every accepted message as
      DIR/NNNN.eml with its envelope in DIR/NNNN.env (with --discard it stores nothing, for
      the benchmark); runs until stdin closes.
  mail_sink.py dump DIR
      parses every stored message with the standard MIME parser and prints, per message, the
      envelope, the header fields as a reader sees them (encoded words decoded, raw bytes read
      as Windows-1251) and each part, its text decoded in its charset and its file names as the
      parser reads them; attachment bytes are written to DIR/NNNN.K.bin and named in the output.
"""
import asyncio
import email
import email.header
import email.policy
import json
import os
import re
import socket
import ssl
import sys

def serve(directory, args):
    import warnings
    warnings.simplefilter("ignore")
    from aiosmtpd.controller import Controller
    from aiosmtpd.smtp import AuthResult

    class Store:
        count = 0

        async def handle_DATA(self, server, session, envelope):
            if discard:
                return "250 OK"
            Store.count += 1
            base = os.path.join(directory, "%04d" % Store.count)
            with open(base + ".eml", "wb") as f:
                f.write(envelope.original_content)
            with open(base + ".env", "w") as f:
                json.dump({"from": envelope.mail_from, "to": envelope.rcpt_tos}, f)
            return "250 OK"

    options = {}
    discard = "--discard" in args
    it = iter(a for a in args if a != "--discard")
    for word in it:
        if word in ("--starttls", "--tls"):
            context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
            context.load_cert_chain(next(it), next(it))
            if word == "--tls":
                options["ssl_context"] = context
            else:
                options["tls_context"] = context
                options["require_starttls"] = True
        elif word == "--auth":
            user, password = next(it).encode().split(b":", 1)

            def check(server, session, envelope, mechanism, data):
                return AuthResult(success=data.login == user and data.password == password, handled=False)

            options["authenticator"] = check
            options["auth_required"] = True
            options["auth_require_tls"] = True
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()
    controller = Controller(Store(), hostname="127.0.0.1", port=port, **options)
    controller.start()
    print("PORT", port, flush=True)
    sys.stdin.read()
    controller.stop()

def text1251(value):
    return value.encode("ascii", "surrogateescape").decode("cp1251")

def header_text(value):
    """A raw header value as a reader sees it: encoded words decoded, raw bytes as Windows-1251."""
    if "=?" not in value:
        return text1251(value)
    unfolded = re.sub(r"\r?\n[ \t]", " ", value)
    return str(email.header.make_header(email.header.decode_header(unfolded)))

def dump(directory):
    names = sorted(n for n in os.listdir(directory) if n.endswith(".eml"))
    for name in names:
        base = os.path.join(directory, name[:-4])
        with open(base + ".env") as f:
            envelope = json.load(f)
        with open(base + ".eml", "rb") as f:
            message = email.message_from_binary_file(f, policy=email.policy.compat32)
        print("message", name[:-4])
        print("envelope", envelope["from"], "->", ",".join(envelope["to"]))
        for key, value in message.raw_items():
            print("header", key + ":", header_text(value))
        parts = message.get_payload() if message.is_multipart() else [message]
        for k, part in enumerate(parts):
            filename = part.get_filename()
            data = part.get_payload(decode=True)
            if filename is None:
                charset = part.get_param("charset")
                print("part", part.get_content_type(), charset)
                for line in data.decode(charset).splitlines():
                    print("text", line)
            else:
                path = "%s.%d.bin" % (base, k)
                with open(path, "wb") as f:
                    f.write(data)
                print("part", part.get_content_type(), "name=" + header_text(part.get_param("name")),
                      "filename=" + filename, path)

if __name__ == "__main__":
    if sys.argv[1] == "serve":
        serve(sys.argv[2], sys.argv[3:])
    else:
        dump(sys.argv[2])
