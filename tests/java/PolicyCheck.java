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
import java.util.PropertyPermission;

/**
 * Checks what the package's java.policy grants an unsigned applet: what OCF
 * and its PC/SC bridge need, and nothing beyond the usual harmless rights.
 * Usage: java PolicyCheck <policy file>; exit status 0 when every check holds.
 */
public final class PolicyCheck {
    private PolicyCheck() {}

    @SuppressWarnings("removal")
    public static void main(String[] args) throws Exception {
        Policy policy = Policy.getInstance("JavaPolicy", new URIParameter(new File(args[0]).toURI()));
        CodeSource applet = new CodeSource(new URL("http://applets.example.com/reader/"), (Certificate[]) null);
        ProtectionDomain domain = new ProtectionDomain(applet, null, null, null);

        String javaHome = System.getProperty("java.home");
        String userHome = System.getProperty("user.home");
        String lib = javaHome + File.separator + "lib" + File.separator;
        Object[][] expectations = {
            {new RuntimePermission("loadLibrary.OCFPCSC1"), true},
            {new RuntimePermission("loadLibrary.ocfpcsc1"), true},
            {new FilePermission(lib + "opencard.properties", "read"), true},
            {new FilePermission(userHome + File.separator + ".opencard.properties", "read"), true},
            {new PropertyPermission("OpenCard.terminals", "read"), true},
            {new PropertyPermission("OpenCard.services", "write"), true},
            {new PropertyPermission("user.home", "read"), true},
            {new PropertyPermission("java.home", "read"), true},
            {new PropertyPermission("java.version", "read"), true},
            {new RuntimePermission("stopThread"), true},
            {new SocketPermission("localhost:0", "listen"), true},

            {new AllPermission(), false},
            {new FilePermission(lib + "opencard.properties", "write"), false},
            {new FilePermission(userHome + File.separator + ".java.policy", "write"), false},
            {new FilePermission(userHome + File.separator + "secret.txt", "read"), false},
            {new FilePermission("<<ALL FILES>>", "read"), false},
            {new PropertyPermission("user.name", "read"), false},
            {new PropertyPermission("user.home", "write"), false},
            {new PropertyPermission("*", "read"), false},
            {new RuntimePermission("loadLibrary.kernel32"), false},
            {new RuntimePermission("setSecurityManager"), false},
            {new RuntimePermission("exitVM"), false},
            {new RuntimePermission("modifyThreadGroup"), false},
            {new SocketPermission("localhost:1024", "listen"), false},
            {new SocketPermission("applets.example.com:80", "connect"), false},
        };
        int failures = 0;
        for (Object[] expectation : expectations) {
            Permission permission = (Permission) expectation[0];
            boolean expected = (Boolean) expectation[1];
            if (policy.implies(domain, permission) != expected) {
                System.err.println((expected ? "not granted: " : "granted: ") + permission);
                failures++;
            }
        }
        System.exit(failures == 0 ? 0 : 1);
    }
}
