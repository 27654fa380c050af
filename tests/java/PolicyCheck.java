import java.io.File;
import java.io.FilePermission;
import java.net.SocketPermission;
import java.net.URL;
import java.security.AllPermission;
import java.security.CodeSource;
import java.security.Permission;
import java.security.Policy;
import java.security.ProtectionDomain;
import java.security.URIParameter;
import java.security.cert.Certificate;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.PropertyPermission;

/**
 * Checks what the built java.policy grants an unsigned applet: code from the
 * listed sites gets what OCF and its PC/SC bridge need, code from any other
 * origin gets none of it, and all code gets the usual harmless rights and
 * nothing beyond.
 * Usage: java -Djdk.net.hosts.file=/dev/null PolicyCheck <policy file> <site>...
 * with the sites as the build was given them; exit status 0 when every check holds.
 */
@SuppressWarnings("removal")
public final class PolicyCheck {
    private static final String JAVA_HOME = System.getProperty("java.home");
    private static final String USER_HOME = System.getProperty("user.home");
    private static final String LIB = JAVA_HOME + File.separator + "lib" + File.separator;

    /** What an applet's path into OCF and the bridge needs: for the listed sites only. */
    private static final Permission[] CARD_ACCESS = {
        new RuntimePermission("loadLibrary.OCFPCSC1"),
        new RuntimePermission("loadLibrary.ocfpcsc1"),
        new FilePermission(LIB + "opencard.properties", "read"),
        new FilePermission(USER_HOME + File.separator + ".opencard.properties", "read"),
        new PropertyPermission("OpenCard.terminals", "read"),
        new PropertyPermission("OpenCard.services", "write"),
        new PropertyPermission("user.home", "read"),
        new PropertyPermission("java.home", "read"),
    };

    /** What every runtime grants to all code. */
    private static final Permission[] EVERY_RUNTIME = {
        new PropertyPermission("java.version", "read"),
        new RuntimePermission("stopThread"),
        new SocketPermission("localhost:0", "listen"),
    };

    /** What no applet gets, from a listed site or not. */
    private static final Permission[] NEVER = {
        new AllPermission(),
        new FilePermission(LIB + "opencard.properties", "write"),
        new FilePermission(USER_HOME + File.separator + ".java.policy", "write"),
        new FilePermission(USER_HOME + File.separator + "secret.txt", "read"),
        new FilePermission("<<ALL FILES>>", "read"),
        new PropertyPermission("user.name", "read"),
        new PropertyPermission("user.home", "write"),
        new PropertyPermission("*", "read"),
        new RuntimePermission("loadLibrary.kernel32"),
        new RuntimePermission("setSecurityManager"),
        new RuntimePermission("exitVM"),
        new RuntimePermission("modifyThreadGroup"),
        new SocketPermission("localhost:1024", "listen"),
        new SocketPermission("applets.example.com:80", "connect"),
    };

    private PolicyCheck() {}

    /** Where an applet's code comes from, and whether it is one of the listed sites. */
    private static final class Origin {
        final String url;
        final boolean listed;

        Origin(String url, boolean listed) {
            this.url = url;
            this.listed = listed;
        }
    }

    public static void main(String[] args) throws Exception {
        Policy policy = Policy.getInstance("JavaPolicy", new URIParameter(new File(args[0]).toURI()));
        List<String> sites = Arrays.asList(args).subList(1, args.length);
        if (sites.isEmpty()) {
            System.err.println("usage: PolicyCheck <policy file> <site>...");
            System.exit(2);
        }
        int failures = 0;
        for (Origin origin : origins(sites)) {
            CodeSource code = new CodeSource(new URL(origin.url), (Certificate[]) null);
            ProtectionDomain domain = new ProtectionDomain(code, null, null, null);
            failures += check(policy, domain, origin.url, CARD_ACCESS, origin.listed);
            failures += check(policy, domain, origin.url, EVERY_RUNTIME, true);
            failures += check(policy, domain, origin.url, NEVER, false);
        }
        System.exit(failures == 0 ? 0 : 1);
    }

    private static int check(Policy policy, ProtectionDomain domain, String url, Permission[] permissions,
            boolean expected) {
        int failures = 0;
        for (Permission permission : permissions) {
            if (policy.implies(domain, permission) != expected) {
                System.err.println(url + (expected ? ": not granted: " : ": granted: ") + permission);
                failures++;
            }
        }
        return failures;
    }

    /**
     * An applet inside each listed site; for each, the same path from origins
     * that only look like it (the other scheme, another host, the host's name
     * inside a longer one or behind a prefix); and a local file. A variant that
     * is itself a listed origin is left out.
     */
    private static List<Origin> origins(List<String> sites) throws Exception {
        List<Origin> origins = new ArrayList<>();
        List<String> listedOrigins = new ArrayList<>();
        for (String site : sites) {
            URL inside = new URL(inside(site));
            origins.add(new Origin(inside.toString(), true));
            listedOrigins.add(inside.getProtocol() + "://" + inside.getHost());
        }
        for (String site : sites) {
            URL inside = new URL(inside(site));
            String scheme = inside.getProtocol();
            String host = inside.getHost();
            String port = inside.getPort() == -1 ? "" : ":" + inside.getPort();
            String[][] variants = {
                {scheme.equals("https") ? "http" : "https", host},
                {scheme, "other-site.example"},
                {scheme, host + ".evil.example"},
                {scheme, "evil" + host},
            };
            for (String[] variant : variants) {
                String origin = variant[0] + "://" + variant[1];
                if (!listedOrigins.contains(origin)) {
                    origins.add(new Origin(origin + port + inside.getFile(), false));
                }
            }
        }
        origins.add(new Origin("file:" + USER_HOME + "/Downloads/reader.jar", false));
        return origins;
    }

    /** The URL of an applet's archive that the site's codeBase covers. */
    private static String inside(String site) {
        if (site.endsWith("/-")) {
            return site.substring(0, site.length() - 1) + "applets/reader.jar";
        }
        if (site.endsWith("/*")) {
            return site.substring(0, site.length() - 1) + "reader.jar";
        }
        return site;
    }
}
